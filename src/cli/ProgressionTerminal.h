#pragma once

#include "db/Progression.h"

#include <QElapsedTimer>
#include <QString>

namespace vyk::cli {

// Progress of long commands on standard error: the current message and a percentage, redrawn
// at most ten times a second, only when standard error is a terminal.
class ProgressionTerminal : public Progression
{
  public:
    ProgressionTerminal();
    ~ProgressionTerminal() override;
    void message(const QString &texte) override;
    void position(long long valeur, long long maximum) override;

  private:
    void dessiner(bool forcer);
    bool m_actif;
    QString m_message;
    int m_pourcent = -1;
    QElapsedTimer m_dernier;
    bool m_dessine = false;
};

} // namespace vyk::cli
