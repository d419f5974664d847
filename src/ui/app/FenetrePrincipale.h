#pragma once

#include <QMainWindow>

namespace vyk {

// The frame window whose menus reach every screen.
class FenetrePrincipale : public QMainWindow
{
    Q_OBJECT
public:
    explicit FenetrePrincipale(QWidget *parent = nullptr);

protected:
    void closeEvent(QCloseEvent *event) override;
};

} // namespace vyk
