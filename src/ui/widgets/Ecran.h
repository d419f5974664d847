#pragma once

#include <QWidget>

namespace vyk {

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
