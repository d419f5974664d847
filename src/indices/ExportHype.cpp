#include "indices/ExportsIndices.h"

#include "db/BaseDonnees.h"
#include "db/Sql.h"
#include "db/Tableau.h"

namespace vyk {

namespace {

const QString PARAMETRE_NIVEAU = QStringLiteral("1689");
const QString NOM_NIVEAU = QStringLiteral("Profondeur du niveau piézométrique");

} // namespace

QStringList ExportHype::entete() const
{
    return {QStringLiteral("Numéro de prélèvement"),
            QStringLiteral("Producteur de données"),
            QStringLiteral("Organisme valideur"),
            QStringLiteral("Code BSS"),
            QStringLiteral("X_WGS84"),
            QStringLiteral("Y_WGS84"),
            QStringLiteral("Date de prélèvement"),
            QStringLiteral("Heure de prélèvement"),
            QStringLiteral("Code paramètre"),
            QStringLiteral("Nom paramètre"),
            QStringLiteral("Résultat"),
            QStringLiteral("Code remarque"),
            QStringLiteral("Code unité"),
            QStringLiteral("Code qualification")};
}

QString ExportHype::conditionDates(const QString &colonne) const
{
    QString sql;
    if (!filtres().dateMinimum.isEmpty())
        sql += QStringLiteral(" AND %1 >= %2").arg(colonne, dateSQL(filtres().dateMinimum));
    if (!filtres().dateMaximum.isEmpty())
        sql += QStringLiteral(" AND %1 < %2").arg(colonne, dateSQL(filtres().dateMaximum));
    return sql;
}

bool ExportHype::ecritTrameListe(Progression &progression)
{
    const QVariant station = stationExportee(progression);
    if (station.isNull()) return true;
    Tableau position;
    if (!extraire(QStringLiteral("SELECT X, Y FROM QUALITOMETRE_LOCALISATIONS WHERE "
                                 "CodeProjection = 16 AND CodeQualitometre = ") +
                      station.toString(),
                  position))
        return true;
    m_x = position.estVide() ? QString() : position.texte(0, QStringLiteral("X"));
    m_y = position.estVide() ? QString() : position.texte(0, QStringLiteral("Y"));
    QString erreur;
    const QString table = identifiantTable(QStringLiteral("ANALYSES_"), codeBSS, &erreur);
    if (!erreur.isEmpty() || !bd().tableExiste(table)) {
        addErreur(QStringLiteral("Aucune analyse pour ") + codeBSS);
        return true;
    }
    QString sql = QStringLiteral(
                      "SELECT A.NumPrelevement AS prelevement, A.CodeProducteur AS producteur, "
                      "A.CodeResponsable AS responsable, P.DateDebut AS jour, P.HeureDebut AS "
                      "heure, A.CodeParametre AS parametre, R.nom AS nomParametre, A.Resultat "
                      "AS resultat, A.CodeRemarque AS remarque, A.CodeUnite AS unite, "
                      "A.CodeQualification AS qualification FROM %1 A INNER JOIN PRELEVEMENTS P ON "
                      "P.NumPrelevement = A.NumPrelevement LEFT JOIN ANALYSES_PARAMETRES R ON "
                      "R.code = A.CodeParametre WHERE A.Resultat IS NOT NULL")
                      .arg(table) +
                  conditionDates(QStringLiteral("P.DateDebut"));
    if (!filtres().selection.isEmpty())
        sql += QStringLiteral(" AND A.CodeParametre IN (SELECT codeParametre FROM "
                              "ANALYSES_PARAMETRES_SELECTIONS WHERE typeListe = 0 AND code = ") +
               sqlTexte(filtres().selection) + u')';
    Tableau t;
    if (!extraire(sql + QStringLiteral(" ORDER BY P.DateDebut, A.NumPrelevement, A.CodeParametre"),
                  t))
        return true;
    static const QString avant[] = {QStringLiteral("prelevement"), QStringLiteral("producteur"),
                                    QStringLiteral("responsable")};
    static const QString apres[] = {QStringLiteral("parametre"), QStringLiteral("nomParametre"),
                                    QStringLiteral("resultat"),  QStringLiteral("remarque"),
                                    QStringLiteral("unite"),     QStringLiteral("qualification")};
    for (int i = 0; i < t.nbLignes() && !progression.annule(); ++i) {
        QStringList ligne;
        for (const QString &c : avant)
            ligne << t.texte(i, c);
        ligne << codeBSS << m_x << m_y << t.texte(i, QStringLiteral("jour")).left(10)
              << t.texte(i, QStringLiteral("heure")).section(u' ', -1).left(5);
        for (const QString &c : apres)
            ligne << t.texte(i, c);
        ecrire(ligne);
    }
    if (t.estVide()) addErreur(QStringLiteral("Aucune analyse pour ") + codeBSS);
    return ecritTramePiezo() || !getTabErreurAsTab().isEmpty();
}

bool ExportHype::ecritTramePiezo()
{
    const QVariant piezometre =
        bd().valeur(QStringLiteral("SELECT CodePiezometre FROM PIEZOMETRES WHERE CodeBSS = ") +
                    sqlTexte(codeBSS));
    if (piezometre.isNull()) return false;
    const QString table = identifiantTable(QStringLiteral("PZ_"), piezometre.toString());
    if (!bd().tableExiste(table)) return false;
    Tableau t;
    if (!extraire(QStringLiteral("SELECT dateCreation, heure, valeur, validite, qualification FROM "
                                 "%1 WHERE dateCreation IS NOT NULL")
                          .arg(table) +
                      conditionDates(QStringLiteral("dateCreation")) +
                      QStringLiteral(" ORDER BY dateCreation"),
                  t))
        return true;
    for (int i = 0; i < t.nbLignes(); ++i)
        ecrire({QString(), QString(), QString(), codeBSS, m_x, m_y,
                t.texte(i, QStringLiteral("dateCreation")).left(10),
                t.texte(i, QStringLiteral("heure")).section(u' ', -1).left(5), PARAMETRE_NIVEAU,
                NOM_NIVEAU, t.texte(i, QStringLiteral("valeur")), QString(), QString(),
                t.texte(i, QStringLiteral("qualification"))});
    return false;
}

} // namespace vyk
