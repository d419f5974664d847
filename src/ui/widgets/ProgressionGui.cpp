#include "ui/widgets/ProgressionGui.h"

#include <QApplication>

namespace vyk {

ProgressionGui::ProgressionGui(QWidget *parent, const QString &titre)
    : m_dialogue(std::make_unique<QProgressDialog>(titre, QStringLiteral("Annuler"), 0, 0, parent))
{
    m_dialogue->setWindowTitle(QApplication::applicationDisplayName());
    m_dialogue->setWindowModality(Qt::WindowModal);
    m_dialogue->setMinimumDuration(400);
    m_dialogue->setAutoClose(false);
    m_dialogue->setAutoReset(false);
}

ProgressionGui::~ProgressionGui() = default;

void ProgressionGui::definirTitre(const QString &titre)
{
    m_dialogue->setWindowTitle(titre);
}

void ProgressionGui::message(const QString &texte)
{
    m_dialogue->setLabelText(texte);
    QApplication::processEvents();
}

void ProgressionGui::position(long long valeur, long long maximum)
{
    // QProgressDialog counts in int: large totals are scaled.
    const double echelle = maximum > 1000000 ? 1000000.0 / double(maximum) : 1.0;
    m_dialogue->setMaximum(int(double(maximum) * echelle));
    m_dialogue->setValue(int(double(valeur) * echelle));
    QApplication::processEvents();
}

bool ProgressionGui::annule() const
{
    QApplication::processEvents();
    return m_dialogue->wasCanceled();
}

} // namespace vyk
