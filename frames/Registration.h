#pragma once
// Binds every catalogue row to its frame class (factory and decoders), once at start-up,
// before any thread exists. Tests may rebind single rows afterwards with BindFrameClass. The
// list of models lives here, beside the models, not among the rules they share.
void RegisterFrameClasses();
