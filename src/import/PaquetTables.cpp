#include "import/PaquetTables.h"

#include "db/InsertionMassive.h"
#include "db/Sql.h"
#include "schema/Catalogue.h"

#include <QDateTime>

namespace vyk::paquet {

const QStringList &tablesDescription()
{
    static const QStringList t = {
        QStringLiteral("QUALITOMETRES_INFO_GEO"),
        QStringLiteral("QUALITOMETRE_LOCALISATIONS"),
        QStringLiteral("QUALITOMETRE_PHOTO"),
        QStringLiteral("QUALITOMETRE_DOCUMENTS"),
        QStringLiteral("QUALITOMETRE_BULLETINS"),
        QStringLiteral("OUVRAGES_QUALITO"),
        QStringLiteral("CREPINES_QUALITO"),
        QStringLiteral("REPERES_QUALITO"),
        QStringLiteral("SYSTEMES_ALTIMETRIQUES_QUALITO"),
        QStringLiteral("MODES_MESURES_QUALITO"),
        QStringLiteral("EVENEMENTS_QUALITO"),
        QStringLiteral("LIEN_QUALITO_RESEAUX"),
        QStringLiteral("LIEN_QUALITO_INTERVENANTS"),
        QStringLiteral("INTERVENANTS_LISTE_QUALITO"),
        QStringLiteral("LIEN_QUALITO_MASSE_EAU"),
        QStringLiteral("LIEN_QUALITO_ENTITE_HYDRO"),
        QStringLiteral("LIEN_QUALITO_AQUIFERE"),
        QStringLiteral("LIEN_QUALITO_ETATS"),
        QStringLiteral("LIEN_QUALITO_FONCTIONS"),
        QStringLiteral("LIEN_QUALITO_USAGES"),
        QStringLiteral("LIEN_QUALITO_ACCESSIBILITES"),
        QStringLiteral("LIEN_QUALITO_AMENAGEMENTS"),
        QStringLiteral("LIEN_QUALITO_LITHOLOGIES"),
        QStringLiteral("LIEN_QUALITO_TYPE_LITHOLOGIQUE"),
    };
    return t;
}

const QStringList &tablesOperation()
{
    static const QStringList t = {
        QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS_ENV"),
        QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS_DISPOSITIFS"),
        QStringLiteral("QUALITOMETRES_OPERATIONS_PRELEVEMENTS"),
        QStringLiteral("QUALITOMETRES_OPERATIONS_REC"),
        QStringLiteral("QUALITOMETRES_OPERATIONS_LISTE"),
        QStringLiteral("QUALITOMETRES_OPERATIONS_RESULTATS"),
        QStringLiteral("QUALITOMETRES_OPERATIONS_UNITES"),
    };
    return t;
}

const QStringList &tablesPrelevement()
{
    static const QStringList t = {QStringLiteral("PRELEVEMENTS_DOSSIERS"),
                                  QStringLiteral("PRELEVEMENTS_FINALITES")};
    return t;
}

const QVector<Referentiel> &referentiels()
{
    const QString a = QStringLiteral("ANALYSES_*");
    const QString op = QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS");
    const QString pr = QStringLiteral("PRELEVEMENTS");
    const QString res = QStringLiteral("QUALITOMETRES_OPERATIONS_RESULTATS");
    const QString env = QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS_ENV");
    static const QVector<Referentiel> r = {
        {QStringLiteral("ANALYSES_PARAMETRES"),
         QStringLiteral("Code"),
         {{a, QStringLiteral("CodeParametre")},
          {res, QStringLiteral("codeParametre")},
          {env, QStringLiteral("parametre")}}},
        {QStringLiteral("ANALYSES_UNITES"),
         QStringLiteral("Code"),
         {{a, QStringLiteral("CodeUnite")},
          {res, QStringLiteral("codeUnite")},
          {env, QStringLiteral("unite")}}},
        {QStringLiteral("METHODES"),
         QStringLiteral("Code"),
         {{a, QStringLiteral("CodeMethode")}, {a, QStringLiteral("CodeMethodeFraction")}}},
        {QStringLiteral("ANALYSES_FRACTIONS"),
         QStringLiteral("Code"),
         {{a, QStringLiteral("CodeFraction")}}},
        {QStringLiteral("ANALYSES_SUPPORTS"),
         QStringLiteral("Code"),
         {{a, QStringLiteral("CodeSupport")}, {pr, QStringLiteral("CodeSupportPrincipal")}}},
        {QStringLiteral("TAXONS"),
         QStringLiteral("codeTaxon"),
         {{QStringLiteral("QUALITOMETRES_LISTE_*"), QStringLiteral("codeTaxon")}}},
        {QStringLiteral("INTERVENANTS"),
         QStringLiteral("CodeIntervenant"),
         {{a, QStringLiteral("CodeProducteur")},
          {a, QStringLiteral("CodeLabo")},
          {pr, QStringLiteral("CodeProducteurPrincipal")},
          {pr, QStringLiteral("CodeLaboPrincipal")},
          {op, QStringLiteral("codeProducteur")},
          {op, QStringLiteral("codePreleveur")},
          {op, QStringLiteral("codeDeterminateur")},
          {QStringLiteral("PRELEVEMENTS_ECHANTILLONS"), QStringLiteral("CodeProducteur")},
          {QStringLiteral("PRELEVEMENTS_DOSSIERS"), QStringLiteral("CodeProducteur")},
          {QStringLiteral("PRELEVEMENTS_DOSSIERS"), QStringLiteral("CodeLabo")},
          {QStringLiteral("LIEN_QUALITO_INTERVENANTS"), QStringLiteral("CodeIntervenant")},
          {QStringLiteral("INTERVENANTS_LISTE_QUALITO"), QStringLiteral("CodeIntervenant")}},
         true},
        {QStringLiteral("CONTACTS"),
         QStringLiteral("CodeContact"),
         {{QStringLiteral("QUALITOMETRES"), QStringLiteral("CodeContact")},
          {QStringLiteral("EVENEMENTS_QUALITO"), QStringLiteral("codeContact")},
          {QStringLiteral("LIEN_QUALITO_INTERVENANTS"), QStringLiteral("codeContact")},
          {op, QStringLiteral("contactProducteur")},
          {op, QStringLiteral("contactPreleveur")},
          {op, QStringLiteral("contactDeterminateur")},
          {pr, QStringLiteral("CodeResponsablePrincipal")},
          {a, QStringLiteral("CodeResponsable")}},
         true},
    };
    return r;
}

namespace {

const DefinitionTable *definitionDe(const QString &table)
{
    if (table.startsWith(PREFIXE_ANALYSES, Qt::CaseInsensitive) && !definitionTable(table))
        return &definitionAnalyses();
    if (table.startsWith(PREFIXE_LISTE_TAXONS, Qt::CaseInsensitive) && !definitionTable(table))
        return &definitionListeTaxons();
    return definitionTable(table);
}

bool contient(const QStringList &liste, const QString &nom)
{
    return liste.contains(nom, Qt::CaseInsensitive);
}

} // namespace

const QStringList &Colonnes::de(const QString &table, const QString &tableCible)
{
    const QString nomCible = tableCible.isEmpty() ? table : tableCible;
    const QString k = table.toUpper() + u'|' + nomCible.toUpper();
    auto it = m_cache.constFind(k);
    if (it != m_cache.constEnd()) return *it;
    QStringList r;
    const DefinitionTable *def = definitionDe(table);
    const QStringList source = m_source.colonnes(table);
    const QStringList cible = m_cible.colonnes(nomCible);
    if (def)
        for (const DefinitionColonne &c : def->colonnes) {
            const QString nom = QLatin1String(c.nom);
            if (c.type != TypeNeutre::Auto && !c.obsolete && contient(source, nom) &&
                contient(cible, nom))
                r << nom;
        }
    return *m_cache.insert(k, r);
}

QString selectColonnes(const QStringList &colonnes, const QString &table)
{
    return QStringLiteral("SELECT ") + colonnes.join(QStringLiteral(", ")) +
           QStringLiteral(" FROM ") + identifiantSql(table);
}

int indexDe(const QStringList &colonnes, const QString &colonne)
{
    for (int i = 0; i < colonnes.size(); ++i)
        if (colonnes[i].compare(colonne, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QString cle(const QVariant &valeur)
{
    return texteValeur(valeur);
}

QString listeSql(const QSet<QString> &codes, bool numerique)
{
    QStringList l;
    for (const QString &c : codes) {
        bool ok = false;
        const double n = c.toDouble(&ok);
        if (numerique && ok)
            l << sqlNombre(n);
        else if (!numerique)
            l << sqlTexte(c);
    }
    l.sort();
    return l.join(u',');
}

QString inserer(BaseDonnees &base, const QString &table, const QStringList &colonnes,
                const QVector<QVector<QVariant>> &lignes)
{
    if (lignes.isEmpty() || colonnes.isEmpty()) return {};
    InsertionMassive insertion(table, colonnes, base);
    if (!insertion.estValide()) return insertion.erreur();
    for (const QVector<QVariant> &l : lignes)
        insertion.ajouter(l);
    if (!insertion.terminer() && insertion.erreurs().isEmpty())
        return insertion.erreur().isEmpty() ? base.derniereErreur() : insertion.erreur();
    if (!insertion.erreurs().isEmpty())
        return table + QStringLiteral(" : ") + insertion.erreurs().first().message;
    return {};
}

QString versionSchema(BaseDonnees &base)
{
    BaseDonnees::Discretion discretion(base);
    const Tableau t = base.extraire(QStringLiteral(
        "SELECT mac FROM PARAMETRES WHERE module='VYLEN' and identifiant='version'"));
    return t.estVide() ? QString() : t.texte(0, QStringLiteral("mac")).trimmed();
}

bool ecrireVersion(BaseDonnees &base, const QString &version)
{
    InstructionPreparee i = base.preparer(
        QStringLiteral("INSERT INTO PARAMETRES (Module, DateCreation, Mac, Identifiant) VALUES "
                       "('VYLEN', ?, ?, 'version')"));
    return i.estValide() && i.executer({QDateTime::currentDateTime(), version});
}

} // namespace vyk::paquet
