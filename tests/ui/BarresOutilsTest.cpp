#include "ui/referentials/ListeCodes.h"
#include "ui/referentials/ListeReferentielAnalyses.h"
#include "ui/referentials/ListeTaxons.h"
#include "ui/referentials/ListeTraits.h"

#include "support/EcranTest.h"

#include <QAction>
#include <QToolBar>

using namespace vyk;
using namespace vyk::test;

namespace {

class BarresOutilsTest : public EcranTest
{
  protected:
    // The commands of every tool bar of the screen that the bar pushed behind its overflow
    // arrow at this width, "bar: caption".
    static QStringList commandesCachees(QWidget &ecran, int largeur)
    {
        ecran.resize(largeur, 700);
        ecran.show();
        traiterEvenements();
        QStringList cachees;
        for (QToolBar *barre : ecran.findChildren<QToolBar *>()) {
            EXPECT_LE(barre->width(), largeur) << qPrintable(ecran.objectName());
            for (QAction *action : barre->actions()) {
                if (!action->isVisible() || action->isSeparator()) continue;
                QWidget *bouton = barre->widgetForAction(action);
                if (!bouton || !bouton->isVisible() || !barre->rect().contains(bouton->geometry()))
                    cachees << ecran.objectName() + QStringLiteral(": ") + action->text();
            }
        }
        return cachees;
    }
};

// On a 1024-pixel-wide screen every command of the reference lists is on view, with its
// caption, for the administrator who sees them all.
TEST_P(BarresOutilsTest, ListesDeReferenceLisiblesA1024Pixels)
{
    const int largeur = 1024 - 24; // the work area's frame around a sub-window
    std::vector<std::unique_ptr<QWidget>> ecrans;
    ecrans.push_back(std::make_unique<ListeCodes>());
    ecrans.push_back(std::make_unique<ListeTaxons>());
    ecrans.push_back(std::make_unique<ListeTraits>());
    for (Referentiel r : {Referentiel::Parametre, Referentiel::Unite, Referentiel::Methode,
                          Referentiel::Fraction, Referentiel::Support})
        ecrans.push_back(std::make_unique<ListeReferentielAnalyses>(r));
    for (const auto &ecran : ecrans) {
        EXPECT_EQ(commandesCachees(*ecran, largeur), QStringList())
            << qPrintable(ecran->objectName());
        capturer(*ecran, QStringLiteral("barres_") + ecran->objectName());
        const QList<QToolBar *> barres = ecran->findChildren<QToolBar *>();
        ASSERT_FALSE(barres.isEmpty());
        for (QToolBar *barre : barres)
            EXPECT_EQ(barre->toolButtonStyle(), Qt::ToolButtonTextBesideIcon)
                << "captions stay beside their icons";
    }
}

VYK_SUR_LES_DEUX_MOTEURS(BarresOutilsTest);

} // namespace
