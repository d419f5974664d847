#pragma once

#include <QWidget>

#include <initializer_list>
#include <utility>

namespace vyk {

// Names each control after its member: the screen keeps its controls private and tests or
// tools find one by that name.
void nommerControles(std::initializer_list<std::pair<QObject *, const char *>> controles);

// A screen of the frame. Its controls still emit while the widget takes them down (a grid
// reports its selection, a box its text), after the derived screen is gone: the signals they
// send to the screen are cut first, here, once for every screen.
class Ecran : public QWidget
{
    Q_OBJECT
  public:
    using QWidget::QWidget;
    ~Ecran() override;
};

} // namespace vyk
