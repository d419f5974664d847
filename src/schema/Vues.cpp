// Views read by the station list and card. Recreated at every upgrade, so that a changed
// definition reaches every database.

#include "schema/EtapesMiseAJour.h"
#include "schema/MiseAJour.h"

namespace vyk {

namespace {

// A link row of a station is its current one when no link of the same kind started later
// (on the same date, the smallest code wins): one row per station.
QString dernierLien(const QString &table, const QString &codeLie, const QString &filtre)
{
    const QString debut = QStringLiteral("coalesce(%1.DateDebut, #01/01/1900#)");
    return QStringLiteral(" AND NOT EXISTS (SELECT * FROM ") + table +
           QStringLiteral(" L2 WHERE L2.CodeQualitometre = L.CodeQualitometre") + filtre +
           QStringLiteral(" AND (") + debut.arg(QStringLiteral("L2")) + QStringLiteral(" > ") +
           debut.arg(QStringLiteral("L")) + QStringLiteral(" OR (") +
           debut.arg(QStringLiteral("L2")) + QStringLiteral(" = ") +
           debut.arg(QStringLiteral("L")) + QStringLiteral(" AND L2.") + codeLie +
           QStringLiteral(" < L.") + codeLie + QStringLiteral(")))");
}

QString lienIntervenant(int type)
{
    const QString filtreType = QStringLiteral(" AND L2.TypeIntervenant = ") + QString::number(type);
    return QStringLiteral(
               "SELECT L.CodeQualitometre AS CodeQualitometre, L.CodeIntervenant AS "
               "CodeIntervenant, "
               "INTERVENANTS.Nom AS Nom, INTERVENANTS.Mnemonique AS Mnemonique, L.DateDebut AS "
               "DateDebut, "
               "L.DateFin AS DateFin FROM LIEN_QUALITO_INTERVENANTS L INNER JOIN INTERVENANTS "
               "ON L.CodeIntervenant = INTERVENANTS.CodeIntervenant WHERE L.TypeIntervenant = ") +
           QString::number(type) +
           dernierLien(QStringLiteral("LIEN_QUALITO_INTERVENANTS"),
                       QStringLiteral("CodeIntervenant"), filtreType);
}

} // namespace

QVector<DefinitionVue> catalogueVues()
{
    return {
        // Stations of a network of the water framework directive, with the span of their
        // memberships; an open membership leaves the end empty.
        {QStringLiteral("QUALITO_DCE"),
         QStringLiteral("SELECT LIEN_QUALITO_RESEAUX.CodeQualitometre AS CodeQualitometre, "
                        "min(LIEN_QUALITO_RESEAUX.DateDebut) AS dateDebut, "
                        "iif(count(*) > count(LIEN_QUALITO_RESEAUX.DateFin), NULL, "
                        "max(LIEN_QUALITO_RESEAUX.DateFin)) AS dateFin "
                        "FROM LIEN_QUALITO_RESEAUX INNER JOIN RESEAUX ON "
                        "LIEN_QUALITO_RESEAUX.CodeReseau = RESEAUX.CodeReseau "
                        "WHERE RESEAUX.DCE = '1' GROUP BY LIEN_QUALITO_RESEAUX.CodeQualitometre")},
        // The network a station joined last.
        {QStringLiteral("QUALITO_RESEAU_PRINCIPAL"),
         QStringLiteral("SELECT L.CodeQualitometre AS CodeQualitometre, L.CodeReseau AS "
                        "CodeReseau, RESEAUX.Libelle AS Libelle, "
                        "RESEAUX.DCE AS DCE, L.DateDebut AS DateDebut, L.DateFin AS DateFin "
                        "FROM LIEN_QUALITO_RESEAUX L INNER JOIN RESEAUX ON L.CodeReseau = "
                        "RESEAUX.CodeReseau WHERE 1 = 1") +
             dernierLien(QStringLiteral("LIEN_QUALITO_RESEAUX"), QStringLiteral("CodeReseau"),
                         QStringLiteral(" AND L2.CodeReseau IN (SELECT CodeReseau FROM RESEAUX)"))},
        // The organisations in charge of a station, and its water agency.
        {QStringLiteral("LIEN_QUALITOMETRE_GESTIONNAIRE"),
         lienIntervenant(TYPE_INTERVENANT_GESTIONNAIRE)},
        {QStringLiteral("LIEN_QUALITOMETRE_AGENCE"), lienIntervenant(TYPE_INTERVENANT_AGENCE)},
    };
}

void MiseAJour::etapeVues()
{
    message(QStringLiteral("Mise à jour des vues"));
    for (const DefinitionVue &v : catalogueVues())
        if (!base().creerVue(v.nom, v.select)) noterEchec(QStringLiteral("CREATE VIEW ") + v.nom);
}

} // namespace vyk
