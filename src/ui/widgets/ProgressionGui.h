#pragma once

#include "db/Progression.h"

#include <QProgressDialog>

#include <memory>

class QWidget;

namespace vyk {

// Progress window with its cancel button; shown after a short delay so quick work shows
// nothing.
class ProgressionGui : public Progression
{
  public:
    explicit ProgressionGui(QWidget *parent, const QString &titre = {});
    ~ProgressionGui() override;
    void message(const QString &texte) override;
    void position(long long valeur, long long maximum) override;
    bool annule() const override;
    // The window's title (the program's name otherwise).
    void definirTitre(const QString &titre);

  private:
    std::unique_ptr<QProgressDialog> m_dialogue;
};

} // namespace vyk
