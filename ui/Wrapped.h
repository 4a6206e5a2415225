#pragma once
// A Qt widget that takes part in the kit's aligned layout (Align, bounds, hint, visibility)
// without a kit class of its own: grids, lists, headers and small tool bars of the window.
#include <utility>

#include "platform/Kit.h"

template <class W> class TWrapped : public W, public TControl {
public:
    template <class... Args>
    explicit TWrapped(Args&&... args) : W(std::forward<Args>(args)...), TControl(this) {}
    MV_KIT_CLASS(TWrapped)
};
