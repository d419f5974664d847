// The coded lists of the station card and its data summary.

#include "monitoring/EditionQualitometre.h"

#include "db/BaseDonnees.h"
#include "db/Outils.h"
#include "db/Sql.h"
#include "monitoring/Qualitometre.h"
#include "monitoring/ReglesAnalyses.h"
#include "schema/Catalogue.h"

namespace vyk {

namespace {

// A commune code is stored as a number by the stations: "01004" is 1004, "2A004" cannot be one.
EntreesCodees entreesCommunes()
{
    EntreesCodees r;
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT Nom, NumDept, CodeCommune FROM COMMUNES ORDER BY Nom, CodeCommune"));
    r.reserve(t.nbLignes());
    for (int l = 0; l < t.nbLignes(); ++l) {
        const QString code = t.texte(l, QStringLiteral("CodeCommune")).trimmed();
        bool ok = false;
        const qlonglong n = code.toLongLong(&ok);
        if (!ok) continue;
        r.append({QString::number(n), t.texte(l, QStringLiteral("Nom")) + QStringLiteral(" [") +
                                          t.texte(l, QStringLiteral("NumDept")) + u']'});
    }
    return r;
}

QString premiereEtDerniere(const QString &from, const QString &colonneDate)
{
    return QStringLiteral("SELECT min(") + colonneDate + QStringLiteral(") AS premiere, max(") +
           colonneDate + QStringLiteral(") AS derniere, count(*) AS nombre ") + from;
}

LigneResume ligneResume(const QString &libelle, const QString &sql)
{
    LigneResume r{libelle, {}, {}, 0};
    const Tableau t = bd().extraire(sql);
    if (!t.estVide()) {
        r.premiere = texteDate(t.valeur(0, QStringLiteral("premiere")).toDateTime());
        r.derniere = texteDate(t.valeur(0, QStringLiteral("derniere")).toDateTime());
        r.nombre = t.valeur(0, QStringLiteral("nombre")).toLongLong();
    }
    return r;
}

QString derniereDate(const QString &sql)
{
    return texteDate(bd().valeur(sql).toDateTime());
}

} // namespace

QString EditionQualitometre::champCodes(const QString &colonne)
{
    static const QHash<QString, QString> champs = {
        {QStringLiteral("codenature"), QStringLiteral("PIEZOMETRES.CODENATURE")},
        {QStringLiteral("typeprojection"), QStringLiteral("PIEZOMETRES.TYPEPROJECTION")},
        {QStringLiteral("type_qualitometre"), QStringLiteral("QUALITOMETRES.TYPE")},
        {QStringLiteral("typepointeau"), QStringLiteral("PIEZOMETRES.TYPE")},
        {QStringLiteral("her_niveau1"), QStringLiteral("QUALITOMETRES.HER1")},
        {QStringLiteral("her_niveau2"), QStringLiteral("QUALITOMETRES.HER2")},
        {QStringLiteral("rang_strahler"), QStringLiteral("QUALITOMETRES.RANG_STRAHLER")},
        {QStringLiteral("modegisement"), QStringLiteral("PIEZOMETRES.MODEGISEMENT")},
        {QStringLiteral("codeetat"), QStringLiteral("QUALITOMETRES.CODEETAT")},
        {QStringLiteral("codequalite"), QStringLiteral("QUALITOMETRES.CODEQUALITE")},
        {QStringLiteral("coderepresentativite"),
         QStringLiteral("QUALITOMETRES.CODEREPRESENTATIVITE")},
        {QStringLiteral("codepiscicole"), QStringLiteral("QUALITOMETRES.CONTEXTEPISCICOLE")},
    };
    return champs.value(colonne.toLower());
}

EntreesCodees EditionQualitometre::entreesChamp(const QString &champ)
{
    const QString c = champ.toLower();
    const QString liste = champCodes(champ);
    if (!liste.isEmpty()) return entreesListe(liste);
    if (c == QLatin1String("typestation")) return entreesTypesStation();
    if (c == QLatin1String("codecommune")) return entreesCommunes();
    if (c == QLatin1String("codecontact"))
        return entreesRequete(
            QStringLiteral("SELECT iif(Contacts.Nom is null, iif(Contacts.RaisonSocial is null, "
                           "Communes.Nom, Contacts.RaisonSocial), "
                           "Contacts.Nom) AS libelle, Contacts.CodeContact FROM Contacts LEFT JOIN "
                           "Communes ON ") +
            conditionCodeCommune(QStringLiteral("Contacts.CodeCommune"),
                                 QStringLiteral("Communes.CodeCommune")) +
            QStringLiteral(" ORDER BY 1"));
    if (c == QLatin1String("codepays"))
        return entreesRequete(QStringLiteral("SELECT Nom, CodePays FROM PAYS ORDER BY Nom"));
    if (c == QLatin1String("code_hydro"))
        return entreesRequete(
            QStringLiteral("SELECT Libelle, code FROM Codes_Hydro ORDER BY TypeCode, Libelle"));
    if (c == QLatin1String("codeaquifere"))
        return entreesRequete(
            QStringLiteral("SELECT libelle, CodeAquifere FROM AQUIFERES ORDER BY libelle"));
    if (c == QLatin1String("code_me"))
        return entreesRequete(
            QStringLiteral("SELECT Libelle, Code_ME FROM MASSES_EAUX ORDER BY Libelle, Code_ME"));
    if (c == QLatin1String("codebassinversant")) return entreesBassins(1);
    return {};
}

EntreesCodees EditionQualitometre::entreesEntites() const
{
    EntreesCodees r =
        entreesRequete(QStringLiteral("SELECT Nom, CodeEntiteHydro FROM Entites_hydrogeologiques "
                                      "WHERE Statut is null OR Statut<>4 ORDER BY Nom"));
    const QString actuelle = valeur(champFiche::EntiteHydro).trimmed();
    if (actuelle.isEmpty() || !estNombre(actuelle)) return r;
    for (const EntreeCodee &e : r)
        if (e.code == actuelle) return r;
    // A frozen entity stays on the card of the stations that use it.
    const QString nom =
        bd().valeur(
                QStringLiteral("SELECT Nom FROM Entites_hydrogeologiques WHERE CodeEntiteHydro=") +
                sqlNombre(enNombre(actuelle).valeur))
            .toString();
    r.append({actuelle, nom + texteFiche::CODE_GELE});
    return r;
}

EntreesCodees EditionQualitometre::entreesBassins(int niveau, const QString &codeParent)
{
    if (niveau <= 1)
        return entreesRequete(QStringLiteral(
            "SELECT Nom, codeBV FROM BASSINS_VERSANTS WHERE Parent is null ORDER BY 1"));
    const Nombre parent = enNombre(codeParent.trimmed(), true);
    if (!parent.estNombre()) return {};
    // A child names its parent by the parent's catchment code.
    return entreesRequete(
        QStringLiteral("SELECT Nom, codeBV FROM BASSINS_VERSANTS WHERE Parent IN (SELECT Code FROM "
                       "BASSINS_VERSANTS WHERE codeBV=") +
        sqlNombre(parent.valeur) + QStringLiteral(") ORDER BY 1"));
}

void EditionQualitometre::lireResume()
{
    m_resume = {};
    const QString code = m_code;
    const QString station = QStringLiteral(" WHERE CodeQualitometre=") + code;
    m_resume.lignes << ligneResume(QStringLiteral("Prélèvements"),
                                   premiereEtDerniere(QStringLiteral("FROM PRELEVEMENTS") +
                                                          station + QStringLiteral(" AND ") +
                                                          filtreHorsSupport13(),
                                                      QStringLiteral("DateDebut")));
    const QString operationsBio =
        QStringLiteral(
            "FROM QUALITOMETRES_POINTS_OPERATIONS O INNER JOIN QUALITOMETRES_POINTS P ON "
            "O.codeQualitometre = "
            "P.codeQualitometre AND O.codePoint = P.codePoint WHERE O.codeQualitometre=") +
        code +
        QStringLiteral(
            " AND (P.identifiant IS NULL OR P.identifiant NOT IN ('031', '061', '071'))");
    m_resume.lignes << ligneResume(
        QStringLiteral("Opérations hydrobiologiques"),
        premiereEtDerniere(operationsBio, QStringLiteral("O.dateDebut")));
    m_resume.lignes << ligneResume(
        QStringLiteral("Opérations avec indices"),
        premiereEtDerniere(
            QStringLiteral("FROM QUALITOMETRES_POINTS_OPERATIONS O WHERE O.codeQualitometre=") +
                code +
                QStringLiteral(" AND O.codeOperation IN (SELECT R.codeOperation FROM "
                               "QUALITOMETRES_OPERATIONS_RESULTATS R "
                               "WHERE R.codeQualitometre=") +
                code + u')',
            QStringLiteral("O.dateDebut")));
    m_resume.lignes << ligneResume(
        QStringLiteral("États"),
        premiereEtDerniere(QStringLiteral("FROM LIEN_QUALITO_ETATS") + station,
                           QStringLiteral("DateDebut")));

    const QString bss = m_codeStocke.trimmed();
    const QString analyses = identifiantTable(PREFIXE_ANALYSES, bss);
    if (!bss.isEmpty() && !analyses.isEmpty() && bd().tableExiste(PREFIXE_ANALYSES + bss)) {
        // Sample numbers are per station: the join needs the station as well.
        const QString mesures =
            QStringLiteral("SELECT max(P.DateDebut) FROM ") + analyses +
            QStringLiteral(
                " A INNER JOIN PRELEVEMENTS P ON A.NumPrelevement = P.NumPrelevement AND "
                "P.CodeQualitometre = ") +
            code + QStringLiteral(" WHERE ") + filtreHorsSupport13() +
            QStringLiteral("AND A.StatutMesure=");
        m_resume.derniereMesureStatut2 = derniereDate(mesures + QStringLiteral("'2'"));
        m_resume.derniereMesureStatut3 = derniereDate(mesures + QStringLiteral("'3'"));
    }
    const QString operations =
        QStringLiteral("SELECT max(dateDebut) FROM QUALITOMETRES_POINTS_OPERATIONS") + station +
        QStringLiteral(" AND Statut=");
    m_resume.derniereOperationStatut2 = derniereDate(operations + u'2');
    m_resume.derniereOperationStatut3 = derniereDate(operations + u'3');
}

} // namespace vyk
