#include "import/PaquetEchange.h"

#include "db/Lot.h"
#include "db/Progression.h"
#include "db/Sql.h"
#include "import/PaquetTables.h"
#include "schema/Catalogue.h"
#include "schema/TableAnalyses.h"
#include "schema/Version.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace vyk {

using namespace paquet;

QString BilanExportPaquet::resume() const
{
    return QStringLiteral("%1 station(s), %2 prélèvement(s), %3 analyse(s), %4 ligne(s) de "
                          "référentiel")
        .arg(stations)
        .arg(prelevements)
        .arg(analyses)
        .arg(referentiels);
}

namespace {

QVector<QVector<QVariant>> lignesDe(const Tableau &t)
{
    QVector<QVector<QVariant>> lignes;
    lignes.reserve(t.nbLignes());
    for (int i = 0; i < t.nbLignes(); ++i) {
        QVector<QVariant> l(t.nbColonnes());
        for (int c = 0; c < t.nbColonnes(); ++c)
            l[c] = t(i, c);
        lignes << l;
    }
    return lignes;
}

// Copies rows of the open database into the package, table by table.
class Exportation
{
  public:
    explicit Exportation(BaseDonnees &paquet) : m_paquet(paquet), m_colonnes(bd(), paquet) {}

    // Rows of `table` matching `condition`; their count, -1 on failure (erreur set).
    long long copier(const QString &table, const QString &condition)
    {
        const QStringList &colonnes = m_colonnes.de(table);
        if (colonnes.isEmpty()) return 0;
        long nb = 0;
        Tableau t;
        if (!bd().ExtraireRecords(
                selectColonnes(colonnes, table) + QStringLiteral(" WHERE ") + condition, nb, t) &&
            !bd().derniereErreur().isEmpty()) {
            erreur = bd().derniereErreur();
            return -1;
        }
        const QString e = inserer(m_paquet, table, colonnes, lignesDe(t));
        if (!e.isEmpty()) {
            erreur = e;
            return -1;
        }
        return t.nbLignes();
    }

    // A per-station table, created in the package first.
    long long copierTableStation(const QString &table, const QStringList &creation)
    {
        if (!bd().tableExiste(table)) return 0;
        for (const QString &sql : creation)
            if (!sql.isEmpty()) m_paquet.ExecuteDDL(sql);
        tablesStations << table;
        return copier(table, QStringLiteral("1=1"));
    }

    bool station(double code, const QString &codeBSS, BilanExportPaquet &bilan)
    {
        const QString n = sqlNombre(code);
        const QString c = QStringLiteral("CodeQualitometre=") + n;
        QStringList tables = {QStringLiteral("QUALITOMETRES"),
                              QStringLiteral("QUALITOMETRES_POINTS"),
                              QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS")};
        tables << tablesDescription() << tablesOperation();
        for (const QString &t : std::as_const(tables))
            if (copier(t, c) < 0) return false;
        const long long prelevements = copier(QStringLiteral("PRELEVEMENTS"), c);
        if (prelevements < 0) return false;
        bilan.prelevements += int(prelevements);
        const QString desPrelevements =
            QStringLiteral("NumPrelevement IN (SELECT NumPrelevement FROM PRELEVEMENTS WHERE ") +
            c + u')';
        QStringList parties{QStringLiteral("PRELEVEMENTS_ECHANTILLONS")};
        parties << tablesPrelevement();
        for (const QString &t : std::as_const(parties))
            if (copier(t, desPrelevements) < 0) return false;
        if (tableAnalyses(codeBSS, &erreur).isEmpty()) return false;
        const long long analyses =
            copierTableStation(PREFIXE_ANALYSES + codeBSS,
                               {sqlCreationTableAnalyses(codeBSS), sqlIndexTableAnalyses(codeBSS)});
        if (analyses < 0) return false;
        bilan.analyses += analyses;
        QStringList creationListe{sqlCreationTableListeTaxons(n)};
        creationListe << sqlColonnesAjouteesListeTaxons(n);
        return copierTableStation(PREFIXE_LISTE_TAXONS + n, creationListe) >= 0;
    }

    // The referential rows that the package's data name.
    bool referentielsUtilises(BilanExportPaquet &bilan)
    {
        for (const Referentiel &r : referentiels()) {
            const QSet<QString> codes = codesUtilises(r);
            if (codes.isEmpty()) continue;
            const bool numerique = r.numeroLocal;
            QList<QString> tous = codes.values();
            for (qsizetype debut = 0; debut < tous.size(); debut += 500) {
                const QList<QString> morceau = tous.mid(debut, 500);
                const QSet<QString> s(morceau.begin(), morceau.end());
                const long long n = copier(r.table, r.cle + QStringLiteral(" IN (") +
                                                        listeSql(s, numerique) + u')');
                if (n < 0) return false;
                bilan.referentiels += int(n);
            }
        }
        return true;
    }

    QStringList tablesStations;
    QString erreur;

  private:
    QSet<QString> codesUtilises(const Referentiel &r)
    {
        QSet<QString> codes;
        for (const auto &[table, colonne] : r.usages) {
            QStringList tables;
            if (table.endsWith(u'*')) {
                for (const QString &t : std::as_const(tablesStations))
                    if (t.startsWith(table.chopped(1), Qt::CaseInsensitive)) tables << t;
            } else {
                tables << table;
            }
            for (const QString &t : std::as_const(tables)) {
                const Tableau v = m_paquet.extraire(QStringLiteral("SELECT DISTINCT ") + colonne +
                                                    QStringLiteral(" FROM ") + identifiantSql(t));
                for (int i = 0; i < v.nbLignes(); ++i)
                    if (const QString k = cle(v.valeur(i, colonne)); !k.isEmpty()) codes.insert(k);
            }
        }
        return codes;
    }

    BaseDonnees &m_paquet;
    Colonnes m_colonnes;
};

// The package's database written into the archive, replacing `fichier` once complete.
bool archiver(const QString &base, const QString &fichier)
{
    const QString partiel = fichier + QStringLiteral(".partiel");
    QFile::remove(partiel);
    {
        QFile source(base);
        QuaZip zip(partiel);
        if (!source.open(QIODevice::ReadOnly) || !zip.open(QuaZip::mdCreate)) return false;
        QuaZipFile f(&zip);
        // The fastest deflate level: most of a database's pages are alike and shrink as well.
        bool ok =
            f.open(QIODevice::WriteOnly, QuaZipNewInfo(ENTREE, base), nullptr, 0, Z_DEFLATED, 1);
        while (ok && !source.atEnd()) {
            const QByteArray bloc = source.read(1 << 20);
            ok = f.write(bloc) == bloc.size();
        }
        f.close();
        ok = ok && f.getZipError() == ZIP_OK;
        zip.close();
        if (!ok || zip.getZipError() != ZIP_OK) {
            QFile::remove(partiel);
            return false;
        }
    }
    QFile::remove(fichier);
    return QFile::rename(partiel, fichier);
}

// The stations of the codes: (CodeQualitometre, CodeBSS) in the order given, or the refusal.
QString stationsDe(const QStringList &codesBSS, QVector<QPair<double, QString>> &stations)
{
    for (const QString &code : codesBSS) {
        const QString c = code.trimmed();
        if (c.isEmpty()) continue;
        const Tableau t =
            bd().extraire(QStringLiteral("SELECT CodeQualitometre, CodeBSS FROM QUALITOMETRES "
                                         "WHERE CodeBSS=") +
                          sqlTexte(c));
        if (t.estVide()) return textePaquet::stationInconnue(c);
        stations.append({t.valeur(0, QStringLiteral("CodeQualitometre")).toDouble(),
                         t.texte(0, QStringLiteral("CodeBSS"))});
    }
    return stations.isEmpty() ? textePaquet::AUCUNE_STATION : QString();
}

} // namespace

BilanExportPaquet exporterPaquet(const QStringList &codesBSS, const QString &fichier,
                                 Progression &progression)
{
    BilanExportPaquet bilan;
    QVector<QPair<double, QString>> stations;
    bilan.erreur = stationsDe(codesBSS, stations);
    if (!bilan.erreur.isEmpty()) return bilan;
    const QString nomFichier = QDir::toNativeSeparators(fichier);
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(ENTREE);
    BaseDonnees paquet;
    if (!dossier.isValid() || !BaseDonnees::creerBaseBureau(chemin) ||
        !paquet.ouvrirBase(chemin, ACCESS, {}, {}, {})) {
        bilan.erreur = textePaquet::ecriture(nomFichier);
        return bilan;
    }
    progression.message(QStringLiteral("Création du paquet ") + nomFichier);
    // A scratch file archived only once complete: no sync to disk at each commit, and the schema
    // made in the same transaction as the rows.
    paquet.Execute(QStringLiteral("PRAGMA synchronous=OFF"));
    Transaction transaction(paquet);
    for (const QString &sql : sqlCreationCatalogue())
        paquet.ExecuteDDL(sql);
    Exportation exportation(paquet);
    bool ok = ecrireVersion(paquet, versionProgramme());
    for (int i = 0; ok && i < stations.size(); ++i) {
        if (progression.annule()) {
            bilan.erreur = QStringLiteral("Export annulé par l'utilisateur : aucun paquet n'a été "
                                          "écrit.");
            return bilan;
        }
        progression.message(QStringLiteral("Export de la station ") + stations[i].second);
        progression.position(i, stations.size());
        ok = exportation.station(stations[i].first, stations[i].second, bilan);
        ++bilan.stations;
    }
    ok = ok && exportation.referentielsUtilises(bilan) && transaction.valider();
    paquet.fermerBase();
    if (!ok) {
        bilan.erreur =
            exportation.erreur.isEmpty() ? textePaquet::ecriture(nomFichier) : exportation.erreur;
        return bilan;
    }
    if (!archiver(chemin, fichier)) bilan.erreur = textePaquet::ecriture(nomFichier);
    return bilan;
}

} // namespace vyk
