#pragma once
// What every device frame shares: made for one run-time device by its catalogue row's factory,
// 324 wide and hidden until the main window shows it, a header strip and a panel per side
// (Panel1 " Запрос" / OutPanel for the request, Panel2 " Ответ" / InPanel for the answer),
// edits read-only and the other controls disabled until the device has data (page controls and
// read-only texts stay usable, so that a side without data can still be read), and the eight
// slots written into the device in one fixed order.
//
// A frame class derives from TFrameBase, builds its controls in its constructor with the
// Add... helpers and then calls one of the Fill...Slots helpers with itself; its slot member
// functions carry the slot names:
//   void GridToRequest(const QString& text, int column);  void GridToAnswer(const QString&, int);
//   void FrameToRequest();  void RequestToFrame();  void RequestToGrid();
//   void FrameToAnswer();   void AnswerToFrame();   void AnswerToGrid();
// RequestToFrame and AnswerToFrame write the frame's controls from the images as they are when
// called, and nothing else: a hidden frame calls them once it is shown, for every exchange it
// missed. A frame whose request is a stream rather than a picture overrides TakesEveryRequest.
#include <QFont>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "frames/shared/FrameBinding.h"
#include "model/Catalogue.h"
#include "model/DeviceInfo.h"
#include "platform/Kit.h"

inline constexpr int FrameWidth = 324;
inline constexpr int FrameHeaderHeight = 20;
// The frames' font: a bold sans as narrow as the frames were laid out for. Liberation Sans
// (fonts-liberation2) at 16 px; without it DejaVu Sans Condensed or DejaVu Sans, as large as
// the frames' tightest text allows.
QFont FrameFont();
extern const QString RequestHeaderCaption;   // " Запрос"
extern const QString AnswerHeaderCaption;    // " Ответ"

class TFrameBase : public TFrame, public TDeviceFrame {
    Q_OBJECT
public:
    // hasRequest: the frame has a request side (Panel1 and OutPanel). Registers itself with
    // the device (Frame, View).
    TFrameBase(QWidget* owner, TDeviceInfo* info, bool hasRequest);
    // Empties the device's slots and its View, so that a frame destroyed before its device
    // (with the widget tree) leaves nothing calling into it.
    ~TFrameBase() override;

    // What the device asks of its frame.
    void Place(const QString& name, const TFramePlace* place) override;
    void EnableSide(bool request) override;
    void ClearSide(bool request) override;
    void EmptySide(bool request) override;
    void Discard() override { delete this; }

    TDeviceInfo* const Info;
    TPanel* Panel1 = nullptr;     // none without a request side
    TPanel* OutPanel = nullptr;   // none without a request side
    TPanel* Panel2 = nullptr;
    TPanel* InPanel = nullptr;

    // The frame's height follows its panels: call after the panels got their heights.
    void FitHeight();

    // Form-description helpers: each control gets its name, bounds and text; edits start
    // read-only; nothing is bound to events.
    TLabel* AddLabel(QWidget* parent, const QString& name, const QString& caption, int left, int top);
    TEdit* AddEdit(QWidget* parent, const QString& name, int left, int top, int width, int kind = 0);
    // An up-down over the right end of its edit, so that the point one pixel left of the
    // up-down's left edge at its top lies inside the edit.
    TUpDown* AddUpDown(QWidget* parent, const QString& name, const TEdit* edit, int min = 0, int max = 100,
                       int increment = 1, bool wrap = false);
    TCheckBox* AddCheckBox(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                           int width = 97, bool checked = false);
    // A check box whose state belongs to the frame alone (how the frame builds its answer, not a
    // bit of it): emptying the side's editors leaves it as the user set it.
    TCheckBox* AddFrameStateBox(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                                int width);
    TComboBox* AddComboBox(QWidget* parent, const QString& name, const QStringList& items, int left, int top,
                           int width, TComboStyle style = TComboStyle::DropDownList);
    TBevel* AddBevel(QWidget* parent, const QString& name, int left, int top, int width, int height,
                     TBevelShape shape = TBevelShape::TopLine);
    TPanel* AddPanel(QWidget* parent, const QString& name, int left, int top, int width, int height);
    // Under a bevel ("Bevel1" at bevelTop) the answer's one input: the heading "IN:", the number
    // "1" and its combo box. The row is 28 high.
    struct TSingleInputRow {
        TBevel* Bevel;
        TLabel* Heading;
        TLabel* Number;
        TComboBox* Combo;
    };
    TSingleInputRow AddSingleInputRow(int bevelTop, const QStringList& items, int comboLeft, int comboWidth);
    TRadioButton* AddRadioButton(QWidget* parent, const QString& name, const QString& caption, int left,
                                 int top, int width = 60);

protected:
    // Writes the two panels and the eight slots into the device; a slot the frame does not fill
    // is written empty. Each side starts enabled as StartSide says. The device calls the slots
    // through the frame, which shows a side only while it is shown itself (see showSide).
    void FillSlots(const TDeviceSlots& s);
    void showEvent(QShowEvent* event) override;

    // The three slot patterns.
    template <class F> void FillRequestAndAnswerSlots(F* frame)
    {
        TDeviceSlots s = requestSide(frame);
        s.GridToRequest = [frame](const QString& text, int column) { frame->GridToRequest(text, column); };
        FillSlots(s);
    }
    // Request and answer, without grid input of the request.
    template <class F> void FillRequestAndAnswerNoGridSlots(F* frame) { FillSlots(requestSide(frame)); }
    template <class F> void FillAnswerOnlySlots(F* frame) { FillSlots(answerSide(frame)); }

private:
    template <class F> static TDeviceSlots answerSide(F* frame)
    {
        TDeviceSlots s;
        s.GridToAnswer = [frame](const QString& text, int column) { frame->GridToAnswer(text, column); };
        s.FrameToAnswer = [frame] { frame->FrameToAnswer(); };
        s.AnswerToFrame = [frame] { frame->AnswerToFrame(); };
        s.AnswerToGrid = [frame] { frame->AnswerToGrid(); };
        return s;
    }
    template <class F> static TDeviceSlots requestSide(F* frame)
    {
        TDeviceSlots s = answerSide(frame);
        s.FrameToRequest = [frame] { frame->FrameToRequest(); };
        s.RequestToFrame = [frame] { frame->RequestToFrame(); };
        s.RequestToGrid = [frame] { frame->RequestToGrid(); };
        return s;
    }
    QWidget* side(bool request) const;
    TPanel* addHeader(const QString& name, const QString& caption);
    TPanel* addSidePanel(const QString& name);
    // A side left editable by its description (an edit that is not read-only) starts usable;
    // any other starts as a clear leaves it, every control but the edits and the page controls and
    // read-only texts disabled.
    static void StartSide(TPanel* side);
    // Moves each label up or down so that its text stands on the baseline of the text control
    // beside it, whatever the font's metrics; inner panels and group boxes likewise.
    static void LineUpLabels(QWidget* parent);

    // The window shows one frame, the selected device's; every exchange of the others would
    // rewrite controls nobody sees. A hidden frame notes that a side is behind its images and
    // shows them once it is shown, or before what reads its controls reads them (a frame's
    // answer may follow its request side, so the answer's readers bring both up to date).
    void showSide(bool request);
    void catchUp(bool answer);       // the request side, and the answer side too when `answer`
    std::array<bool, 2> behind_{};   // the request side, the answer side
    TDeviceSlots own_;               // the frame's own slots, which the device's call through

    std::vector<const TControl*> frameState_;   // the boxes of AddFrameStateBox
};
