// Must not compile: built against the line engine or the model alone, it finds no widget
// header (see the Layers tests in tests/CMakeLists.txt).
#include <QWidget>
