#include "indices/ExportIndice.h"

#include "db/BaseDonnees.h"
#include "db/Sql.h"
#include "db/Tableau.h"

#include <QDate>
#include <QDir>
#include <QRegularExpression>

namespace vyk {

namespace {

bool estEntier(const QString &texte)
{
    static const QRegularExpression chiffres(QStringLiteral("^\\d+$"));
    return chiffres.match(texte).hasMatch();
}

QString sommes()
{
    QString s = QStringLiteral("sum(denombrementA) as ttA, sum(denombrementB) as ttB, "
                               "sum(denombrementC) as ttC");
    for (int p = 1; p <= 12; ++p)
        s += QStringLiteral(", sum(denombrementP%1) as ttP%1").arg(p);
    return s;
}

// A phase's count: its total when given, else the sum of its four micro-samples (0 for none).
QString comptePhase(const Tableau &t, int ligne, int phase)
{
    const QVariant total = t.valeur(ligne, QStringLiteral("tt") + QChar(u'A' + phase));
    if (!total.isNull()) return texteValeur(total);
    double somme = 0;
    for (int p = phase * 4 + 1; p <= phase * 4 + 4; ++p)
        somme += t.valeur(ligne, QStringLiteral("ttP%1").arg(p)).toDouble();
    return texteValeur(somme);
}

} // namespace

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
    if (!bd().Execute(QStringLiteral("UPDATE ANALYSES_PARAMETRES SET actif = '1' WHERE code IN (") +
                      codes.join(u',') + u')')) {
        addErreur(bd().derniereErreur());
        return false;
    }
    QString erreur;
    if (!nettoyerCalculateur(m_repLocal, m_indice.sorties, erreur)) addErreur(erreur);
    return erreur.isEmpty();
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
    m_trame.write((champs.join(u'\t') + QStringLiteral("\r\n")).toUtf8());
}

bool ExportIndice::ecritTrameDebut()
{
    m_trame.setFileName(m_repLocal + FICHIER_TRAME);
    if (!m_trame.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        addErreur(QStringLiteral("Impossible de créer le fichier ") + m_trame.fileName());
        return true;
    }
    QStringList entete = {QStringLiteral("CODE_OPERATION"), QStringLiteral("CODE_STATION"),
                          QStringLiteral("DATE"),           QStringLiteral("CODE_PHASE"),
                          QStringLiteral("CODE_TAXON"),     QStringLiteral("RESULTAT"),
                          QStringLiteral("CODE_REMARQUE")};
    if (m_indice.typeNational) entete << QStringLiteral("TYPO_NATIONALE");
    ecrire(entete);
    return false;
}

void ExportIndice::ecritTrameFin()
{
    m_trame.close();
}

QString ExportIndice::typeNational()
{
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT typeStation, type_fr FROM QUALITOMETRES WHERE codeBSS = ") +
        sqlTexte(codeBSS));
    const QString type = t.estVide() ? QString() : t.texte(0, QStringLiteral("type_fr"));
    QString libelle;
    if (!type.isEmpty()) {
        // Stream stations: rivers, large rivers and other rivers.
        const bool riviere =
            QStringList{QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("5")}.contains(
                t.texte(0, QStringLiteral("typeStation")));
        libelle = texteValeur(bd().valeur(
            QStringLiteral("SELECT libelle FROM CODES_SANDRE WHERE champ = %1 AND code = %2")
                .arg(sqlTexte(riviere ? QStringLiteral("QUALITOMETRES.TYPE_FR.RIVIERE")
                                      : QStringLiteral("QUALITOMETRES.TYPE_FR.PLAN")),
                     sqlTexte(type))));
    }
    if (libelle.isEmpty())
        addErreur(QStringLiteral("Impossible de trouver le typeFR pour ") + codeBSS);
    return libelle;
}

QString ExportIndice::requeteTaxons(const QString &table, const QString &operation) const
{
    const QString totaux =
        QStringLiteral("(SELECT codeTaxon, ") + sommes() + QStringLiteral(", codeRemarque FROM ") +
        table + QStringLiteral(" WHERE codeOperation = ") + operation +
        QStringLiteral(" AND codeListe = 1 GROUP BY codeTaxon, codeRemarque) totaux");
    QString colonnes = QStringLiteral("ttA, ttB, ttC, codeRemarque");
    for (int p = 1; p <= 12; ++p)
        colonnes += QStringLiteral(", ttP%1").arg(p);
    if (m_filtres.selection.isEmpty())
        return QStringLiteral("SELECT codeTaxon AS codeParametre, ") + colonnes +
               QStringLiteral(" FROM ") + totaux + QStringLiteral(" ORDER BY codeTaxon");
    return QStringLiteral("SELECT selections.codeParametre, ") + colonnes +
           QStringLiteral(
               " FROM (SELECT DISTINCT codeParametre FROM ANALYSES_PARAMETRES_SELECTIONS "
               "WHERE typeListe = 1 AND code = ") +
           sqlTexte(m_filtres.selection) + QStringLiteral(") selections LEFT JOIN ") + totaux +
           QStringLiteral(
               " ON selections.codeParametre = totaux.codeTaxon ORDER BY selections.codeParametre");
}

bool ExportIndice::ecrireOperation(qint64, const QString &table, const QString &operation,
                                   const QString &date)
{
    const QString sql = requeteTaxons(table, operation);
    Tableau t;
    long nb = 0;
    if (!bd().ExtraireRecords(sql, nb, t)) {
        addErreur(QStringLiteral("erreur lors de l'exécution de \r") + sql);
        return false;
    }
    if (t.estVide()) addErreur(QStringLiteral("Aucun taxon trouvé pour ") + operation);
    const QString code = codeBSS + u'*' + date + QStringLiteral("*I");
    for (int i = 0; i < t.nbLignes(); ++i) {
        const QString taxon = t.texte(i, QStringLiteral("codeParametre"));
        if (!estEntier(taxon)) continue;
        QString remarque = t.texte(i, QStringLiteral("codeRemarque"));
        if (remarque.isEmpty()) remarque = QStringLiteral("1");
        for (int phase = 0; phase < 3; ++phase) {
            QStringList champs = {code,    codeBSS,
                                  date,    QString(QChar(u'A' + phase)),
                                  taxon,   comptePhase(t, i, phase),
                                  remarque};
            if (m_indice.typeNational) champs << m_type;
            ecrire(champs);
        }
    }
    return true;
}

bool ExportIndice::ecritTrameListe(Progression &progression)
{
    progression.message(QStringLiteral("Récupération des infos de ") + codeBSS);
    const QVariant station =
        bd().valeur(QStringLiteral("SELECT codeQualitometre FROM QUALITOMETRES WHERE codeBSS = ") +
                    sqlTexte(codeBSS));
    if (station.isNull()) {
        addErreur(QStringLiteral("Station introuvable : ") + codeBSS);
        return true;
    }
    for (const QString *f : {&m_filtres.operation, &m_filtres.protocole})
        if (!f->isEmpty() && !estEntier(*f)) {
            addErreur(QStringLiteral("Code invalide : ") + *f);
            return true;
        }
    if (m_indice.typeNational) m_type = typeNational();
    const QString table =
        identifiantTable(QStringLiteral("QUALITOMETRES_LISTE_"), station.toString());
    QString sql =
        QStringLiteral(
            "SELECT DISTINCT O.dateDebut, O.codeOperation FROM QUALITOMETRES_POINTS_OPERATIONS O, "
            "QUALITOMETRES_POINTS P, %1 L WHERE O.codeQualitometre = P.codeQualitometre AND "
            "O.codePoint = P.codePoint AND O.codeQualitometre = %2 AND P.identifiant = %3 AND "
            "L.codeOperation = O.codeOperation AND L.codeListe = 1")
            .arg(table, station.toString(), sqlTexte(m_filtres.point));
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
    long nb = 0;
    if (!bd().ExtraireRecords(sql, nb, operations)) {
        addErreur(QStringLiteral("erreur lors de l'exécution de \r") + sql);
        return true;
    }
    for (int i = 0; i < operations.nbLignes() && !progression.annule(); ++i) {
        const QDate jour =
            QDate::fromString(operations.texte(i, QStringLiteral("dateDebut")).left(10),
                              QStringLiteral("dd/MM/yyyy"));
        if (!ecrireOperation(station.toLongLong(), table,
                             operations.texte(i, QStringLiteral("codeOperation")),
                             jour.toString(QStringLiteral("yyyy-MM-dd"))))
            return true;
    }
    return !m_erreurs.isEmpty();
}

ExecutionCalcul ExportIndice::calculIndice(Progression &progression, int delaiSecondes)
{
    return lancerCalculateur(m_repLocal, m_indice.sorties, m_indice.libelle, delaiSecondes,
                             progression);
}

bool ExportIndice::integrationResultats(BilanResultats &bilan)
{
    const QStringList fichiers = fichiersScript(m_repLocal, m_indice.sorties.resultats);
    if (fichiers.isEmpty()) {
        bilan = {};
        bilan.erreur =
            QStringLiteral("Impossible de calculer ") + m_indice.libelle +
            QStringLiteral(". Merci de consulter le fichier d'erreur dans le répertoire\r") +
            m_repLocal + QStringLiteral("script");
        return false;
    }
    LectureResultats lecture;
    lecture.codeStation = codeBSS;
    lecture.point = m_filtres.point;
    lecture.protocolesPreferes = m_indice.protocolesPreferes;
    const DescriptionIndice &indice = m_indice;
    lecture.parametre = [&indice](const QString &code, const QString &libelle) {
        return indice.parametre(indice, code, libelle);
    };
    return integrerResultats(m_repLocal + QStringLiteral("script/") + fichiers.first(), lecture,
                             bilan);
}

} // namespace vyk
