#include "ui/app/Application.h"

#include "app/Options.h"
#include "import/ImportAutomatique.h"
#include "schema/MiseAJour.h"
#include "ui/app/FenetrePrincipale.h"
#include "ui/app/FrmConnexion.h"
#include "ui/app/FrmIdentification.h"
#include "ui/monitoring/ListeQualitometres.h"
#include "ui/widgets/ProgressionGui.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>

namespace vyk {

Application::Application()
{
    // The users of the database's own table log in; the automatic login of the next start is
    // remembered or forgotten after the box of the login screen.
    m_demarrage.authentifier = [this](const QString &login, const QString &motDePasse,
                                      bool automatique) {
        m_dernierLogin = connecterUtilisateur(login, motDePasse, automatique);
        if (!montrer(compteRenduLogin(m_dernierLogin))) return false;
        retenirConnexionAutomatique(m_identification &&
                                    m_identification->ChkConnexionAutomatique->isChecked());
        return true;
    };
    // The schema is brought up to date after the login, with a progress window when it is long.
    m_demarrage.verifierVersionBase = [this](const QString &version) {
        ProgressionGui progression(m_identification.get(), Demarrage::VERIFICATION);
        return vyk::verifierVersionBase(version, progression, moisHydrologique());
    };
    m_demarrage.raisonRefusBase = [] { return vyk::raisonEchecMiseAJour(); };
}

Application::~Application()
{
    delete m_fenetre.data();
}

FenetrePrincipale *Application::fenetrePrincipale() const
{
    return m_fenetre.data();
}

void Application::demarrer(bool connexionAutomatique)
{
    if (!m_identification) {
        m_identification = std::make_unique<FrmIdentification>(*this);
        connect(m_identification.get(), &FrmIdentification::quitter, this, &Application::fin);
    }
    m_identification->show();
    m_identification->charger(connexionAutomatique);
}

void Application::ouvrirFenetrePrincipale()
{
    if (!m_fenetre) {
        m_fenetre = new FenetrePrincipale(*this);
        m_fenetre->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_fenetre, &FenetrePrincipale::fermee, this, &Application::fenetreFermee);
    }
    m_identification->hide();
    m_fenetre->show();
    m_fenetre->activateWindow();
    // The import the command line asks for runs once, after the first login, for that user.
    if (!m_importAutomatiqueFait) {
        m_importAutomatiqueFait = true;
        QTimer::singleShot(0, this, &Application::importAutomatique);
    }
}

void Application::importAutomatique()
{
    if (!m_fenetre) return;
    ImportAutomatique import;
    {
        ProgressionGui progression(m_fenetre, texteImportAutomatique::TITRE);
        import = lancerImportAutomatique(QCoreApplication::arguments(), progression);
    }
    if (!import.demande || !import.refus.isEmpty()) return;
    for (ListeQualitometres *liste : m_fenetre->findChildren<ListeQualitometres *>())
        liste->charger();
}

void Application::fenetreFermee()
{
    if (m_demarrage.dechargement()) {
        emit fin();
        return;
    }
    demarrer(false);
}

FrmConnexion *Application::ouvrirConnexion(QWidget *parent)
{
    auto *ecran = new FrmConnexion(*this, parent);
    ecran->setAttribute(Qt::WA_DeleteOnClose);
    ecran->open();
    return ecran;
}

bool Application::libererEcrans()
{
    return !m_fenetre || m_fenetre->fermerEcrans();
}

bool Application::changementBase(FrmConnexion *ecran)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool identificationChargee = m_identification && m_identification->isVisible();
    if (m_fenetre) m_fenetre->fermerEcrans();
    const bool ok = m_demarrage.changementBase(identificationChargee);
    if (!m_demarrage.refus().isEmpty()) afficherMessage(GENRE_ERREUR, m_demarrage.refus());
    if (identificationChargee) {
        m_identification->afficherEtat();
        if (ok && ecran) ecran->close();
    } else {
        if (ecran) ecran->close();
        if (m_fenetre) m_fenetre->close();
    }
    QGuiApplication::restoreOverrideCursor();
    return ok;
}

} // namespace vyk
