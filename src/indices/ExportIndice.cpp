#include "indices/ExportIndice.h"

#include "db/BaseDonnees.h"
#include "db/Sql.h"
#include "db/Tableau.h"

#include <QDate>
#include <QDir>

#include <algorithm>

namespace vyk {

bool estEntier(const QString &texte)
{
    return !texte.isEmpty() &&
           std::all_of(texte.cbegin(), texte.cend(), [](QChar c) { return c.isDigit(); });
}

bool ExportIndice::configuration(const QString &dossier)
{
    m_repLocal = dossier.endsWith(u'/') || dossier.endsWith(u'\\') ? dossier : dossier + u'/';
    QStringList codes;
    for (const ParametreIndice &p : m_indice.parametres) {
        codes << sqlTexte(p.code);
        const bool existe =
            !bd().extraire(QStringLiteral("SELECT code FROM ANALYSES_PARAMETRES WHERE code = ") +
                           sqlTexte(p.code))
                 .estVide();
        if (!existe &&
            !bd().Execute(QStringLiteral("INSERT INTO ANALYSES_PARAMETRES (code, nom, type, "
                                         "actif) VALUES (%1, %2, '3', '1')")
                              .arg(sqlTexte(p.code), sqlTexte(p.nom)))) {
            addErreur(bd().derniereErreur());
            return false;
        }
    }
    if (!codes.isEmpty() &&
        !bd().Execute(QStringLiteral("UPDATE ANALYSES_PARAMETRES SET actif = '1' WHERE code IN (") +
                      codes.join(u',') + u')')) {
        addErreur(bd().derniereErreur());
        return false;
    }
    QString erreur;
    if (!nettoyerCalculateur(m_repLocal, m_indice.sorties, erreur)) addErreur(erreur);
    return erreur.isEmpty();
}

void ExportIndice::demarreExport(const FiltresExport &filtres)
{
    m_filtres = filtres;
    if (m_filtres.point.isEmpty()) m_filtres.point = m_indice.point;
}

QString ExportIndice::getTabErreur() const
{
    QString texte;
    for (const QString &e : m_erreurs)
        texte += e + u'\r';
    return texte;
}

void ExportIndice::ecrire(const QStringList &champs)
{
    m_trame.write((champs.join(m_indice.separateur) + QStringLiteral("\r\n")).toUtf8());
}

void ExportIndice::ecrire(QByteArrayView ligne)
{
    m_trame.write(ligne.data(), ligne.size());
    m_trame.write("\r\n", 2);
}

bool ExportIndice::extraire(const QString &sql, Tableau &resultat)
{
    long nb = 0;
    if (bd().ExtraireRecords(sql, nb, resultat)) return true;
    addErreur(QStringLiteral("erreur lors de l'exécution de \r") + sql);
    return false;
}

bool ExportIndice::parcourir(const QString &sql, const FonctionLigne &fonction)
{
    if (bd().parcourir(sql, fonction)) return true;
    addErreur(QStringLiteral("erreur lors de l'exécution de \r") + sql);
    return false;
}

QString ExportIndice::codeOperationTrame(const OperationExportee &operation) const
{
    return codeBSS + u'*' + operation.date + QStringLiteral("*I");
}

bool ExportIndice::ecritTrameDebut()
{
    m_trame.setFileName(cheminTrame());
    if (!m_trame.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        addErreur(QStringLiteral("Impossible de créer le fichier ") + m_trame.fileName());
        return true;
    }
    if (const QStringList e = entete(); !e.isEmpty()) ecrire(e);
    return false;
}

void ExportIndice::ecritTrameFin()
{
    m_trame.close();
}

// The operation and protocol filters reach the statements as numbers only.
bool ExportIndice::verifierFiltres()
{
    for (const QString *f : {&m_filtres.operation, &m_filtres.protocole})
        if (!f->isEmpty() && !estEntier(*f)) {
            addErreur(QStringLiteral("Code invalide : ") + *f);
            return false;
        }
    return true;
}

QVariant ExportIndice::stationExportee(Progression &progression)
{
    progression.message(QStringLiteral("Récupération des infos de ") + codeBSS);
    const QVariant station =
        bd().valeur(QStringLiteral("SELECT codeQualitometre FROM QUALITOMETRES WHERE codeBSS = ") +
                    sqlTexte(codeBSS));
    if (station.isNull()) addErreur(QStringLiteral("Station introuvable : ") + codeBSS);
    return station;
}

bool ExportIndice::ecritTrameListe(Progression &progression)
{
    const QVariant station = stationExportee(progression);
    if (station.isNull() || !verifierFiltres() || !preparer(station.toLongLong())) return true;
    const QString table =
        identifiantTable(QStringLiteral("QUALITOMETRES_LISTE_"), station.toString());
    QString sql =
        QStringLiteral(
            "SELECT DISTINCT O.dateDebut, O.codeOperation FROM QUALITOMETRES_POINTS_OPERATIONS O, "
            "QUALITOMETRES_POINTS P, %1 L WHERE O.codeQualitometre = P.codeQualitometre AND "
            "O.codePoint = P.codePoint AND O.codeQualitometre = %2 AND P.identifiant = %3 AND "
            "L.codeOperation = O.codeOperation AND L.codeListe = %4")
            .arg(table, station.toString(), sqlTexte(m_filtres.point))
            .arg(m_indice.codeListe);
    if (!m_filtres.operation.isEmpty())
        sql += QStringLiteral(" AND O.codeOperation = ") + m_filtres.operation;
    if (!m_filtres.dateMinimum.isEmpty())
        sql += QStringLiteral(" AND O.dateDebut >= ") + dateSQL(m_filtres.dateMinimum);
    if (!m_filtres.dateMaximum.isEmpty())
        sql += QStringLiteral(" AND O.dateDebut < ") + dateSQL(m_filtres.dateMaximum);
    if (!m_filtres.protocole.isEmpty())
        sql += QStringLiteral(" AND O.protocoleBiologique = ") + m_filtres.protocole;
    sql += QStringLiteral(" ORDER BY O.dateDebut, O.codeOperation");
    Tableau operations;
    if (!extraire(sql, operations)) return true;
    // A frame without any operation would only send the calculator an empty run.
    if (operations.estVide())
        addErreur(QStringLiteral("Aucune opération du point %1 à exporter pour %2")
                      .arg(m_filtres.point, codeBSS));
    QStringList codes;
    for (int i = 0; i < operations.nbLignes(); ++i)
        codes << operations.texte(i, QStringLiteral("codeOperation"));
    if (!chargerOperations(station.toLongLong(), table, codes)) return true;
    for (int i = 0; i < operations.nbLignes() && !progression.annule(); ++i) {
        const QDate jour =
            QDate::fromString(operations.texte(i, QStringLiteral("dateDebut")).left(10),
                              QStringLiteral("dd/MM/yyyy"));
        if (!ecrireOperation({station.toLongLong(), table,
                              operations.texte(i, QStringLiteral("codeOperation")),
                              jour.toString(QStringLiteral("yyyy-MM-dd"))}))
            return true;
    }
    terminerListe();
    return !m_erreurs.isEmpty();
}

ExecutionCalcul ExportIndice::calculIndice(Progression &progression, int delaiSecondes)
{
    return lancerCalculateur(m_repLocal, m_indice.sorties, m_indice.libelle, delaiSecondes,
                             progression);
}

bool ExportIndice::integrationResultats(BilanResultats &bilan)
{
    bilan = {};
    const QStringList fichiers = fichiersScript(m_repLocal, m_indice.sorties.resultats);
    if (!m_indice.integre || fichiers.isEmpty()) {
        bilan.erreur =
            QStringLiteral("Impossible de calculer ") + m_indice.libelle +
            QStringLiteral(". Merci de consulter le fichier d'erreur dans le répertoire\r") +
            m_repLocal + QStringLiteral("script");
        return false;
    }
    LectureResultats lecture;
    lecture.codeStation = codeBSS;
    lecture.point = m_filtres.point.isEmpty() ? m_indice.point : m_filtres.point;
    lecture.protocolesPreferes = m_indice.protocolesPreferes;
    const DescriptionIndice &indice = m_indice;
    lecture.parametre = [&indice](const QString &code, const QString &libelle) {
        return indice.parametre(indice, code, libelle);
    };
    return integrerResultats(m_repLocal + QStringLiteral("script/") + fichiers.first(), lecture,
                             bilan);
}

} // namespace vyk
