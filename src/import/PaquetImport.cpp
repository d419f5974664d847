#include "import/PaquetEchange.h"

#include "db/Lot.h"
#include "db/Progression.h"
#include "db/Sql.h"
#include "import/PaquetContacts.h"
#include "import/PaquetTables.h"
#include "import/Zip.h"
#include "monitoring/ListeTaxonsOperation.h"
#include "schema/Catalogue.h"
#include "schema/TableAnalyses.h"
#include "schema/Version.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QVersionNumber>

#include <functional>

namespace vyk {

using namespace paquet;

namespace {

// Rows read from the package, with their column names.
struct Lignes
{
    QStringList colonnes;
    QVector<QVector<QVariant>> lignes;

    // Resolve a column once before a loop over the rows: the search ignores case.
    int index(const QString &colonne) const { return indexDe(colonnes, colonne); }
    const QVariant &valeur(int ligne, int c) const
    {
        static const QVariant nulle;
        return c < 0 ? nulle : lignes[ligne][c];
    }
    const QVariant &valeur(int ligne, const QString &colonne) const
    {
        return valeur(ligne, index(colonne));
    }
    // Sets a column of a row when the package carries it.
    static void poser(QVector<QVariant> &ligne, int c, const QVariant &v)
    {
        if (c >= 0) ligne[c] = v;
    }
    void poser(QVector<QVariant> &ligne, const QString &colonne, const QVariant &v) const
    {
        poser(ligne, index(colonne), v);
    }
};

QString nombre(const QVariant &v)
{
    return sqlNombre(v.toDouble());
}

// Rows already here: each one's number by its identity, and the largest number.
struct Presents
{
    QHash<QString, QVariant> parCle;
    double plusGrand = -1;
};

// The first column is the number, the others make the identity.
Presents lirePresents(const QString &sql)
{
    Presents p;
    const Tableau t = bd().extraire(sql);
    for (int i = 0; i < t.nbLignes(); ++i) {
        QStringList k;
        for (int c = 1; c < t.nbColonnes(); ++c)
            k << cle(t(i, c));
        p.parCle.insert(k.join(u'|'), t(i, 0));
        p.plusGrand = std::max(p.plusGrand, t(i, 0).toDouble());
    }
    return p;
}

// Matches the package's rows with the rows here by identity: a row found takes the number here,
// the others the next numbers (completed by `completer`) and are returned to be written.
// `correspondance` receives package number -> number here; `creees` the package numbers of the
// rows created.
QVector<QVector<QVariant>>
rapprocher(const Lignes &l, Presents &ici, const QString &colonne,
           QHash<QString, QVariant> &correspondance, QSet<QString> *creees,
           const std::function<QString(int)> &identite,
           const std::function<void(QVector<QVariant> &, int)> &completer)
{
    QVector<QVector<QVariant>> nouvelles;
    const int c = l.index(colonne);
    for (int i = 0; i < l.lignes.size(); ++i) {
        const QString k = identite(i);
        const QString origine = cle(l.valeur(i, c));
        if (const auto it = ici.parCle.constFind(k); it != ici.parCle.constEnd()) {
            correspondance.insert(origine, *it);
            continue;
        }
        const QVariant nouveau(++ici.plusGrand);
        QVector<QVariant> ligne = l.lignes[i];
        Lignes::poser(ligne, c, nouveau);
        completer(ligne, i);
        nouvelles << ligne;
        ici.parCle.insert(k, nouveau);
        correspondance.insert(origine, nouveau);
        if (creees) creees->insert(origine);
    }
    return nouvelles;
}

// The package's rows of one station written into the open database.
class Integration
{
  public:
    Integration(BaseDonnees &paquet, qint64 execution, BilanAnalyses &bilan)
        : m_paquet(paquet), m_colonnes(paquet, bd()), m_execution(execution), m_bilan(bilan)
    {
    }

    QString referentiels();
    QString station(const Lignes &stations, int ligne);

  private:
    Lignes lire(const QString &table, const QString &condition, const QString &cible = {});
    // Whether the package holds any row of the table, asked once per table: most description
    // and detail tables are empty, and are then not read again for each station.
    bool garnie(const QString &table);
    // The package's tables, listed once (the package is only read).
    bool dansLePaquet(const QString &table);
    QString ecrire(const QString &table, const Lignes &source, QVector<QVector<QVariant>> lignes);
    QString description(const QVariant &codePaquet, const QVariant &code);
    QString points(const QVariant &codePaquet, const QVariant &code);
    QString operations(const QVariant &codePaquet, const QVariant &code);
    QString detailOperations(const QVariant &codePaquet, const QVariant &code);
    QString prelevements(const QVariant &codePaquet, const QVariant &code);
    QString echantillons(const QVariant &codePaquet, const QVariant &code);
    QString analyses(const QString &codeBSS, const QVariant &code);

    BaseDonnees &m_paquet;
    Colonnes m_colonnes;
    qint64 m_execution;
    BilanAnalyses &m_bilan;
    // Package numbers -> numbers here, for the station being integrated.
    QHash<QString, QVariant> m_points, m_operations, m_prelevements, m_echantillons;
    QSet<QString> m_operationsCreees, m_prelevementsCrees;
    CorrespondanceIntervenants m_intervenants;
    CorrespondanceContacts m_contacts;
    QHash<QString, bool> m_garnies;
    // The first read of the package that failed: what was read of it must not go in.
    QString m_erreurLecture;
    QSet<QString> m_tablesPaquet;
};

Lignes Integration::lire(const QString &table, const QString &condition, const QString &cible)
{
    Lignes r;
    r.colonnes = m_colonnes.de(table, cible);
    if (r.colonnes.isEmpty() || !garnie(table)) return r;
    const int n = int(r.colonnes.size());
    const bool lu = m_paquet.parcourir(selectColonnes(r.colonnes, table) +
                                           QStringLiteral(" WHERE ") + condition,
                                       [&](const Ligne &l) {
                                           QVector<QVariant> ligne(n);
                                           for (int c = 0; c < n; ++c)
                                               ligne[c] = l.valeur(c);
                                           r.lignes << std::move(ligne);
                                           return true;
                                       });
    if (!lu && m_erreurLecture.isEmpty())
        m_erreurLecture = table + QStringLiteral(" : ") + m_paquet.derniereErreur();
    return r;
}

bool Integration::garnie(const QString &table)
{
    const QString k = table.toUpper();
    if (const auto it = m_garnies.constFind(k); it != m_garnies.constEnd()) return *it;
    bool ligne = false;
    m_paquet.parcourir(QStringLiteral("SELECT 1 FROM ") + identifiantSql(table),
                       [&](const Ligne &) {
                           ligne = true;
                           return false;
                       });
    m_garnies.insert(k, ligne);
    return ligne;
}

bool Integration::dansLePaquet(const QString &table)
{
    if (m_tablesPaquet.isEmpty())
        for (const QString &t : m_paquet.tables())
            m_tablesPaquet.insert(t.toUpper());
    return m_tablesPaquet.contains(table.toUpper());
}

// Every row of the station goes in here, its organisations and persons numbered as here; nothing
// once a read of the package failed.
QString Integration::ecrire(const QString &table, const Lignes &source,
                            QVector<QVector<QVariant>> lignes)
{
    if (!m_erreurLecture.isEmpty()) return m_erreurLecture;
    m_intervenants.reecrire(table, source.colonnes, lignes);
    m_contacts.reecrire(table, source.colonnes, lignes);
    return inserer(bd(), table, source.colonnes, lignes);
}

QString Integration::referentiels()
{
    for (const Referentiel &r : paquet::referentiels()) {
        if (r.numeroLocal) continue;
        const Lignes l = lire(r.table, QStringLiteral("1=1"));
        const int c = l.index(r.cle);
        if (c < 0 || l.lignes.isEmpty()) continue;
        QSet<QString> presents;
        const Tableau ici =
            bd().extraire(QStringLiteral("SELECT ") + r.cle + QStringLiteral(" FROM ") + r.table);
        for (int i = 0; i < ici.nbLignes(); ++i)
            presents.insert(cle(ici.valeur(i, r.cle)));
        QVector<QVector<QVariant>> nouvelles;
        for (const QVector<QVariant> &ligne : l.lignes) {
            const QString k = cle(ligne[c]);
            if (k.isEmpty() || presents.contains(k)) continue;
            presents.insert(k);
            nouvelles << ligne;
            if (r.table == QLatin1String("ANALYSES_PARAMETRES")) m_bilan.parametresCrees << k;
            if (r.table == QLatin1String("ANALYSES_UNITES")) m_bilan.unitesCrees << k;
        }
        if (const QString e = inserer(bd(), r.table, l.colonnes, nouvelles); !e.isEmpty()) return e;
    }
    if (!m_erreurLecture.isEmpty()) return m_erreurLecture;
    const QString e = m_intervenants.etablir(m_paquet, m_colonnes, m_bilan.intervenantsCrees);
    if (!e.isEmpty()) return e;
    return m_contacts.etablir(m_paquet, m_colonnes, m_bilan.contactsCrees);
}

QString Integration::description(const QVariant &codePaquet, const QVariant &code)
{
    for (const QString &table : tablesDescription()) {
        Lignes l = lire(table, QStringLiteral("CodeQualitometre=") + nombre(codePaquet));
        for (QVector<QVariant> &ligne : l.lignes)
            l.poser(ligne, QStringLiteral("CodeQualitometre"), code);
        if (const QString e = ecrire(table, l, l.lignes); !e.isEmpty()) return e;
    }
    return {};
}

QString Integration::points(const QVariant &codePaquet, const QVariant &code)
{
    Presents ici = lirePresents(
        QStringLiteral("SELECT codePoint, identifiant, dateDebut FROM QUALITOMETRES_POINTS WHERE "
                       "codeQualitometre=") +
        nombre(code));
    const Lignes l = lire(QStringLiteral("QUALITOMETRES_POINTS"),
                          QStringLiteral("codeQualitometre=") + nombre(codePaquet));
    const auto nouvelles = rapprocher(
        l, ici, QStringLiteral("codePoint"), m_points, nullptr,
        [&](int i) {
            return cle(l.valeur(i, QStringLiteral("identifiant"))) + u'|' +
                   cle(l.valeur(i, QStringLiteral("dateDebut")));
        },
        [&](QVector<QVariant> &ligne, int) {
            l.poser(ligne, QStringLiteral("codeQualitometre"), code);
        });
    m_bilan.pointsCrees += int(nouvelles.size());
    return ecrire(QStringLiteral("QUALITOMETRES_POINTS"), l, std::move(nouvelles));
}

QString Integration::operations(const QVariant &codePaquet, const QVariant &code)
{
    Presents ici =
        lirePresents(QStringLiteral("SELECT codeOperation, codePoint, dateDebut FROM "
                                    "QUALITOMETRES_POINTS_OPERATIONS WHERE codeQualitometre=") +
                     nombre(code));
    const QString table = QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS");
    const Lignes l = lire(table, QStringLiteral("codeQualitometre=") + nombre(codePaquet));
    const int colPoint = l.index(QStringLiteral("codePoint"));
    const int colDate = l.index(QStringLiteral("dateDebut"));
    const int colStation = l.index(QStringLiteral("codeQualitometre"));
    const int colExecution = m_execution >= 0 ? l.index(QStringLiteral("jobExecutionId")) : -1;
    const auto point = [&](int i) {
        const QString p = cle(l.valeur(i, colPoint));
        return p.isEmpty() ? QVariant() : m_points.value(p);
    };
    const auto nouvelles = rapprocher(
        l, ici, QStringLiteral("codeOperation"), m_operations, &m_operationsCreees,
        [&](int i) { return cle(point(i)) + u'|' + cle(l.valeur(i, colDate)); },
        [&](QVector<QVariant> &ligne, int i) {
            Lignes::poser(ligne, colStation, code);
            Lignes::poser(ligne, colPoint, point(i));
            Lignes::poser(ligne, colExecution, m_execution);
        });
    m_bilan.operationsCreees += int(nouvelles.size());
    if (const QString e = ecrire(table, l, nouvelles); !e.isEmpty()) return e;
    return detailOperations(codePaquet, code);
}

// Environment, programmes, elementary samplings, covers, lists, results, units and taxa of the
// operations created: an operation already here keeps its own.
QString Integration::detailOperations(const QVariant &codePaquet, const QVariant &code)
{
    if (m_operationsCreees.isEmpty()) return {};
    const QString cond = QStringLiteral("codeQualitometre=") + nombre(codePaquet);
    auto copier = [&](const QString &table, const QString &condition, const QString &cible,
                      bool avecStation) {
        Lignes l = lire(table, condition, cible);
        const int operation = l.index(QStringLiteral("codeOperation"));
        const int station = avecStation ? l.index(QStringLiteral("codeQualitometre")) : -1;
        QVector<QVector<QVariant>> nouvelles;
        for (int i = 0; i < l.lignes.size(); ++i) {
            const QString op = cle(l.valeur(i, operation));
            if (!m_operationsCreees.contains(op)) continue;
            QVector<QVariant> ligne = l.lignes[i];
            Lignes::poser(ligne, station, code);
            Lignes::poser(ligne, operation, m_operations.value(op));
            nouvelles << ligne;
        }
        return ecrire(cible.isEmpty() ? table : cible, l, std::move(nouvelles));
    };
    for (const QString &table : tablesOperation())
        if (const QString e = copier(table, cond, {}, true); !e.isEmpty()) return e;
    const QString listePaquet = PREFIXE_LISTE_TAXONS + nombre(codePaquet);
    if (!dansLePaquet(listePaquet)) return {};
    if (!creerTableListeTaxons(qint64(code.toDouble())))
        return QStringLiteral("création de la liste de taxons impossible");
    return copier(listePaquet, QStringLiteral("1=1"), PREFIXE_LISTE_TAXONS + nombre(code), false);
}

QString Integration::prelevements(const QVariant &codePaquet, const QVariant &code)
{
    bd().verrouiller(QStringLiteral("PRELEVEMENTS"));
    Presents ici = lirePresents(
        QStringLiteral("SELECT NumPrelevement, DateDebut, codeOperation FROM PRELEVEMENTS WHERE "
                       "CodeQualitometre=") +
        nombre(code));
    // A sample's number is unique over every station.
    const QVariant max =
        bd().valeur(QStringLiteral("SELECT Max(NumPrelevement) FROM PRELEVEMENTS"));
    ici.plusGrand = max.isNull() ? -1 : max.toDouble();
    const Lignes l = lire(QStringLiteral("PRELEVEMENTS"),
                          QStringLiteral("CodeQualitometre=") + nombre(codePaquet));
    const int colOperation = l.index(QStringLiteral("codeOperation"));
    const int colDate = l.index(QStringLiteral("DateDebut"));
    const int colStation = l.index(QStringLiteral("CodeQualitometre"));
    const auto operation = [&](int i) {
        const QString o = cle(l.valeur(i, colOperation));
        return o.isEmpty() ? QVariant() : m_operations.value(o);
    };
    const auto nouvelles = rapprocher(
        l, ici, QStringLiteral("NumPrelevement"), m_prelevements, &m_prelevementsCrees,
        [&](int i) { return cle(l.valeur(i, colDate)) + u'|' + cle(operation(i)); },
        [&](QVector<QVariant> &ligne, int i) {
            Lignes::poser(ligne, colStation, code);
            Lignes::poser(ligne, colOperation, operation(i));
        });
    m_bilan.prelevementsCrees += int(nouvelles.size());
    if (const QString e = ecrire(QStringLiteral("PRELEVEMENTS"), l, nouvelles); !e.isEmpty())
        return e;
    const QString desPrelevements =
        QStringLiteral("NumPrelevement IN (SELECT NumPrelevement FROM PRELEVEMENTS WHERE "
                       "CodeQualitometre=") +
        nombre(codePaquet) + u')';
    for (const QString &table : tablesPrelevement()) {
        Lignes d = lire(table, desPrelevements);
        const int prelevement = d.index(QStringLiteral("NumPrelevement"));
        const int station = d.index(QStringLiteral("codeQualitometre"));
        QVector<QVector<QVariant>> lignes;
        for (int i = 0; i < d.lignes.size(); ++i) {
            const QString p = cle(d.valeur(i, prelevement));
            if (!m_prelevementsCrees.contains(p)) continue;
            QVector<QVariant> ligne = d.lignes[i];
            Lignes::poser(ligne, prelevement, m_prelevements.value(p));
            Lignes::poser(ligne, station, code);
            lignes << ligne;
        }
        if (const QString e = ecrire(table, d, lignes); !e.isEmpty()) return e;
    }
    return echantillons(codePaquet, code);
}

// Parts of a sample created here keep their numbers; a sample already here gets the parts it
// lacks (same reference) numbered after its own.
QString Integration::echantillons(const QVariant &codePaquet, const QVariant &code)
{
    const Tableau ici = bd().extraire(
        QStringLiteral("SELECT NumPrelevement, NumEchantillon, Reference FROM "
                       "PRELEVEMENTS_ECHANTILLONS WHERE NumPrelevement IN (SELECT NumPrelevement "
                       "FROM PRELEVEMENTS WHERE CodeQualitometre=") +
        nombre(code) + u')');
    QHash<QString, QVariant> parReference;
    QHash<QString, double> plusGrand;
    for (int i = 0; i < ici.nbLignes(); ++i) {
        const QString p = cle(ici.valeur(i, QStringLiteral("NumPrelevement")));
        const QVariant &numero = ici.valeur(i, QStringLiteral("NumEchantillon"));
        parReference.insert(p + u'|' + cle(ici.valeur(i, QStringLiteral("Reference"))), numero);
        plusGrand[p] = std::max(plusGrand.value(p, -1), numero.toDouble());
    }
    const QString table = QStringLiteral("PRELEVEMENTS_ECHANTILLONS");
    const Lignes l = lire(table, QStringLiteral("NumPrelevement IN (SELECT NumPrelevement FROM "
                                                "PRELEVEMENTS WHERE CodeQualitometre=") +
                                     nombre(codePaquet) + u')');
    const int colPrelevement = l.index(QStringLiteral("NumPrelevement"));
    const int colNumero = l.index(QStringLiteral("NumEchantillon"));
    const int colReference = l.index(QStringLiteral("Reference"));
    const int colStation = l.index(QStringLiteral("codeQualitometre"));
    QVector<QVector<QVariant>> nouvelles;
    for (int i = 0; i < l.lignes.size(); ++i) {
        const QString pPaquet = cle(l.valeur(i, colPrelevement));
        if (!m_prelevements.contains(pPaquet)) continue;
        const QString p = cle(m_prelevements.value(pPaquet));
        const QString origine = pPaquet + u'|' + cle(l.valeur(i, colNumero));
        const QString k = p + u'|' + cle(l.valeur(i, colReference));
        QVariant numero = l.valeur(i, colNumero);
        if (!m_prelevementsCrees.contains(pPaquet)) {
            if (parReference.contains(k)) {
                m_echantillons.insert(origine, parReference.value(k));
                continue;
            }
            numero = plusGrand[p] = plusGrand.value(p, -1) + 1;
        }
        QVector<QVariant> ligne = l.lignes[i];
        Lignes::poser(ligne, colPrelevement, m_prelevements.value(pPaquet));
        Lignes::poser(ligne, colNumero, numero);
        Lignes::poser(ligne, colStation, code);
        nouvelles << ligne;
        parReference.insert(k, numero);
        m_echantillons.insert(origine, numero);
        ++m_bilan.echantillonsCrees;
    }
    return ecrire(table, l, std::move(nouvelles));
}

QString Integration::analyses(const QString &codeBSS, const QVariant &code)
{
    const QString table = PREFIXE_ANALYSES + codeBSS;
    if (!dansLePaquet(table)) return {};
    QString erreur;
    if (!creerTableAnalyses(codeBSS, &erreur)) return erreur;
    const Tableau ici = bd().extraire(
        QStringLiteral("SELECT NumPrelevement, CodeParametre, CodeUnite, NumAnalyse FROM ") +
        identifiantSql(table));
    QSet<QString> presentes;
    QHash<QString, double> plusGrand;
    for (int i = 0; i < ici.nbLignes(); ++i) {
        const QString p = cle(ici.valeur(i, QStringLiteral("NumPrelevement")));
        presentes.insert(p + u'|' + cle(ici.valeur(i, QStringLiteral("CodeParametre"))) + u'|' +
                         cle(ici.valeur(i, QStringLiteral("CodeUnite"))));
        plusGrand[p] = std::max(plusGrand.value(p, -1),
                                ici.valeur(i, QStringLiteral("NumAnalyse")).toDouble());
    }
    const Lignes l = lire(table, QStringLiteral("1=1"));
    m_bilan.lignesLues += int(l.lignes.size());
    const int colPrelevement = l.index(QStringLiteral("NumPrelevement"));
    const int colParametre = l.index(QStringLiteral("CodeParametre"));
    const int colUnite = l.index(QStringLiteral("CodeUnite"));
    const int colNumero = l.index(QStringLiteral("NumAnalyse"));
    const int colStation = l.index(QStringLiteral("CodeQualitometre"));
    const int colEchantillon = l.index(QStringLiteral("NumEchantillon"));
    QVector<QVector<QVariant>> nouvelles;
    for (int i = 0; i < l.lignes.size(); ++i) {
        const QString pPaquet = cle(l.valeur(i, colPrelevement));
        // An analysis without its sample in the package has nowhere to go.
        if (!m_prelevements.contains(pPaquet)) continue;
        const QString p = cle(m_prelevements.value(pPaquet));
        const QString k =
            p + u'|' + cle(l.valeur(i, colParametre)) + u'|' + cle(l.valeur(i, colUnite));
        if (presentes.contains(k)) continue;
        presentes.insert(k);
        QVector<QVariant> ligne = l.lignes[i];
        Lignes::poser(ligne, colNumero, plusGrand[p] = plusGrand.value(p, -1) + 1);
        Lignes::poser(ligne, colPrelevement, m_prelevements.value(pPaquet));
        Lignes::poser(ligne, colStation, code);
        const QString e = cle(l.valeur(i, colEchantillon));
        if (!e.isEmpty())
            Lignes::poser(ligne, colEchantillon,
                          m_echantillons.value(pPaquet + u'|' + e, l.valeur(i, colEchantillon)));
        nouvelles << ligne;
        ++m_bilan.analysesAjoutees;
    }
    return ecrire(table, l, std::move(nouvelles));
}

QString Integration::station(const Lignes &stations, int i)
{
    m_points.clear();
    m_operations.clear();
    m_prelevements.clear();
    m_echantillons.clear();
    m_operationsCreees.clear();
    m_prelevementsCrees.clear();
    const QString codeBSS = cle(stations.valeur(i, QStringLiteral("CodeBSS")));
    const QVariant codePaquet = stations.valeur(i, QStringLiteral("CodeQualitometre"));
    QString erreur;
    if (tableAnalyses(codeBSS, &erreur).isEmpty()) return erreur;
    bd().verrouiller(QStringLiteral("QUALITOMETRES"));
    QVariant code =
        bd().valeur(QStringLiteral("SELECT CodeQualitometre FROM QUALITOMETRES WHERE CodeBSS=") +
                    sqlTexte(codeBSS));
    if (code.isNull()) {
        const QVariant max =
            bd().valeur(QStringLiteral("SELECT Max(CodeQualitometre) FROM QUALITOMETRES"));
        code = QVariant(max.isNull() ? 1.0 : max.toDouble() + 1);
        QVector<QVariant> ligne = stations.lignes[i];
        stations.poser(ligne, QStringLiteral("CodeQualitometre"), code);
        if (m_execution >= 0) stations.poser(ligne, QStringLiteral("jobExecutionId"), m_execution);
        erreur = ecrire(QStringLiteral("QUALITOMETRES"), stations, {ligne});
        if (erreur.isEmpty()) erreur = description(codePaquet, code);
        if (!erreur.isEmpty()) return erreur;
        m_bilan.stationsCreees << codeBSS;
    }
    for (auto etape : {&Integration::points, &Integration::operations, &Integration::prelevements})
        if (erreur = (this->*etape)(codePaquet, code); !erreur.isEmpty()) return erreur;
    return analyses(codeBSS, code);
}

// The package opened and checked before anything is written: "" or the refusal.
QString ouvrirPaquet(const QString &fichier, const QTemporaryDir &dossier, BaseDonnees &paquet)
{
    const QString nom = QDir::toNativeSeparators(fichier);
    // Only the database is taken out, in one pass that checks its CRC as it goes.
    const QString base = dossier.filePath(ENTREE);
    const int code = extraireMembre(fichier, ENTREE, base);
    if (code == codeZip::AUCUN_FICHIER) return textePaquet::sansBase(nom);
    if (code != codeZip::SUCCES) return textePaquet::endommage(nom, erreurDecompression(code));
    if (!paquet.ouvrirBase(base, ACCESS, {}, {}, {}))
        return textePaquet::endommage(nom, paquet.derniereErreur());
    {
        BaseDonnees::Discretion discretion(paquet);
        const Tableau controle = paquet.extraire(QStringLiteral("PRAGMA integrity_check"));
        if (controle.texte(0, QStringLiteral("integrity_check")) != QLatin1String("ok") ||
            !paquet.tableExiste(QStringLiteral("QUALITOMETRES")))
            return textePaquet::endommage(nom, QStringLiteral("base de données illisible"));
    }
    const QString version = versionSchema(paquet);
    if (version.isEmpty()) return textePaquet::sansVersion(nom);
    const QVersionNumber programme = QVersionNumber::fromString(versionProgramme());
    if (QVersionNumber::fromString(version) > programme)
        return textePaquet::versionRecente(nom, version, versionProgramme());
    return {};
}

} // namespace

BilanAnalyses importerPaquet(const QString &fichier, qint64 execution, Progression &progression)
{
    BilanAnalyses bilan;
    QTemporaryDir dossier;
    BaseDonnees paquet;
    progression.message(QStringLiteral("Lecture du paquet ") + QFileInfo(fichier).fileName());
    bilan.erreur = ouvrirPaquet(fichier, dossier, paquet);
    if (!bilan.erreur.isEmpty()) return bilan;
    Integration integration(paquet, execution, bilan);
    {
        Transaction transaction;
        bilan.erreur = integration.referentiels();
        if (!bilan.erreur.isEmpty() || !transaction.valider()) {
            if (bilan.erreur.isEmpty()) bilan.erreur = bd().derniereErreur();
            return bilan;
        }
    }
    Lignes stations;
    stations.colonnes = Colonnes(paquet, bd()).de(QStringLiteral("QUALITOMETRES"));
    const Tableau t =
        paquet.extraire(selectColonnes(stations.colonnes, QStringLiteral("QUALITOMETRES")) +
                        QStringLiteral(" ORDER BY CodeBSS"));
    QStringList erreurs;
    for (int i = 0; i < t.nbLignes(); ++i) {
        QVector<QVariant> l(t.nbColonnes());
        for (int c = 0; c < t.nbColonnes(); ++c)
            l[c] = t(i, c);
        stations.lignes << l;
    }
    for (int i = 0; i < stations.lignes.size(); ++i) {
        if (progression.annule()) {
            bilan.interrompu = true;
            erreurs << texteIntegration::ANNULE;
            break;
        }
        const QString codeBSS = cle(stations.valeur(i, QStringLiteral("CodeBSS")));
        progression.message(QStringLiteral("Intégration de la station ") + codeBSS);
        progression.position(i, stations.lignes.size());
        ++bilan.stations;
        // A station goes in whole or not at all.
        const BilanAnalyses avant = bilan;
        Transaction transaction;
        QString e = integration.station(stations, i);
        if (e.isEmpty() && !transaction.valider()) e = bd().derniereErreur();
        if (!e.isEmpty()) {
            transaction.annuler();
            const int stationsMises = bilan.stations;
            bilan = avant;
            bilan.stations = stationsMises;
            erreurs << textePaquet::erreurStation(codeBSS, e);
        }
    }
    bilan.erreur = erreurs.join(u'\n');
    return bilan;
}

QString listerPaquet(const QString &fichier, QVector<QStringList> &lignes)
{
    QTemporaryDir dossier;
    BaseDonnees paquet;
    const QString erreur = ouvrirPaquet(fichier, dossier, paquet);
    if (!erreur.isEmpty()) return erreur;
    const Tableau t =
        paquet.extraire(QStringLiteral("SELECT CodeBSS, Nom FROM QUALITOMETRES ORDER BY CodeBSS"));
    for (int i = 0; i < t.nbLignes(); ++i) {
        const QString codeBSS = t.texte(i, QStringLiteral("CodeBSS"));
        const QString table = PREFIXE_ANALYSES + codeBSS;
        const QString nb = paquet.tableExiste(table)
                               ? texteValeur(paquet.valeur(QStringLiteral("SELECT COUNT(*) FROM ") +
                                                           identifiantSql(table)))
                               : QStringLiteral("0");
        lignes.append({codeBSS, t.texte(i, QStringLiteral("Nom")), nb});
    }
    return {};
}

} // namespace vyk
