// The operation card's IBGN command: the list shown computed by the site's workbook model, the
// results stored with the operation.

#include "ui/monitoring/FicheOperations.h"

#include "indices/ClasseurLibreOffice.h"
#include "indices/Ibgn.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/Droits.h"
#include "users/Habilitations.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>

namespace vyk {

namespace {

// The busy pointer while the office engine works.
struct PointeurOccupe
{
    PointeurOccupe() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~PointeurOccupe() { QApplication::restoreOverrideCursor(); }
    PointeurOccupe(const PointeurOccupe &) = delete;
    PointeurOccupe &operator=(const PointeurOccupe &) = delete;
};

} // namespace

void FicheOperations::construireCommandeIbgn(QHBoxLayout *barre)
{
    CmdCalculIBGN = new QPushButton(QStringLiteral("Calcul IBGN"), this);
    appliquerDroit(CmdCalculIBGN, droit::QUALITO_FICHE_MODIF);
    barre->addWidget(CmdCalculIBGN);
    connect(CmdCalculIBGN, &QPushButton::clicked, this, &FicheOperations::calculIBGN);
    moteurIbgn = [] { return std::make_unique<ClasseurLibreOffice>(); };
}

bool FicheOperations::calculIBGN()
{
    if (m_operation.estNouvelle() || !m_taxons) {
        afficherMessage(GENRE_ERREUR, texteOperations::PARENT_ABSENT);
        return false;
    }
    recueillirTaxons();
    QVector<LigneFaune> liste;
    for (const ListeTaxonsOperation::Ligne &l : m_taxons->lignes())
        liste.append({l.codeTaxon, l.valeurs[DenombrementA], l.valeurs[DenombrementB],
                      l.valeurs[DenombrementC]});
    if (liste.isEmpty()) {
        afficherMessage(GENRE_INFO, texteIbgn::LISTE_VIDE);
        return false;
    }
    CalculIbgn calcul;
    {
        const PointeurOccupe occupe;
        const std::unique_ptr<ClasseurModele> classeur = moteurIbgn();
        calcul = calculIbgnOperation(*classeur, liste,
                                     valeurChamp(QStringLiteral("protocoleBiologique")),
                                     identifiantPoint());
    }
    if (!calcul.ok()) {
        afficherMessage(GENRE_ERREUR, calcul.erreur);
        return false;
    }
    if (!calcul.avertissement.isEmpty()) afficherMessage(GENRE_AIDE, calcul.avertissement);
    if (!calcul.refus.isEmpty()) afficherMessage(GENRE_ERREUR, calcul.refus.join(u'\r'));
    if (calcul.resultats.isEmpty()) return false;
    BilanIbgn bilan;
    if (!integrerIbgn(m_station, m_operation.code, calcul.resultats, confirmerParMessage, bilan)) {
        afficherMessage(GENRE_ERREUR, bilan.erreur);
        return false;
    }
    chargerGrilles();
    afficherMessage(GENRE_INFO, texteIbgn::TERMINE);
    return true;
}

} // namespace vyk
