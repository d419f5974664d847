#include "db/BaseDonnees.h"
#include "db/ChampDecrit.h"
#include "db/InstructionPreparee.h"
#include "db/Lot.h"
#include "db/Outils.h"
#include "import/ExtraitCodeInterne.h"
#include "monitoring/PointsPrelevement.h"
#include "schema/TableAnalyses.h"

#include <QMap>
#include <QSet>

namespace vyk {

namespace {

QVariant premiere(const QString &sql, const QVector<QVariant> &valeurs)
{
    InstructionPreparee q = bd().preparer(sql);
    Tableau t;
    if (!q.extraire(t, valeurs) || t.estVide()) return {};
    return t(0, 0);
}

bool executer(const QString &sql, const QVector<QVariant> &valeurs)
{
    InstructionPreparee q = bd().preparer(sql);
    return q.executer(valeurs);
}

QVariant nombre(const QString &v)
{
    return enNombre(v, true).variant();
}

QVariant date(const QString &v)
{
    const QDateTime d = dateCode(v);
    return d.isValid() ? QVariant(QDateTime(d.date(), QTime(0, 0))) : QVariant();
}

// Rows of a group, as runs of consecutive rows: a group's rows mostly follow each other, and
// the run being added to is kept apart so that a row extending it costs one comparison.
class Plages
{
  public:
    void ajouter(int ligne)
    {
        if (ligne == m_fin && m_debut < m_fin) {
            ++m_fin;
            return;
        }
        if (m_debut < m_fin) m_plages.append({m_debut, m_fin});
        m_debut = ligne;
        m_fin = ligne + 1;
    }
    // f(ligne) on each row in order, until it returns false.
    template <typename F> void parcourir(F f) const
    {
        for (const auto &[debut, fin] : m_plages)
            for (int l = debut; l < fin; ++l)
                if (!f(l)) return;
        for (int l = m_debut; l < m_fin; ++l)
            if (!f(l)) return;
    }

  private:
    QVector<std::pair<int, int>> m_plages; // [first, end), before the current run
    int m_debut = 0, m_fin = 0;            // the current run
};

// The rows of the extract that went to one station, operation, sample...: the first non-empty
// value of a code among them.
struct Groupe
{
    const ExtraitCode *extrait = nullptr;
    Plages lignes;
    LigneIntegree integree; // the first row's

    QString operator()(const char *code) const
    {
        const int c = extrait->colonne(QString::fromLatin1(code));
        QString r;
        if (c >= 0)
            lignes.parcourir([&](int l) {
                const QString &v = extrait->valeur(l, c);
                if (!v.isEmpty()) r = v;
                return r.isEmpty();
            });
        return r;
    }
    // Every distinct non-empty value of the code, in the order met.
    QStringList distinctes(const char *code) const
    {
        QStringList v;
        const int c = extrait->colonne(QString::fromLatin1(code));
        if (c >= 0)
            lignes.parcourir([&](int l) {
                if (const QString &x = extrait->valeur(l, c); !x.isEmpty() && !v.contains(x))
                    v << x;
                return true;
            });
        return v;
    }
};

// Whether the extract has a column of one of the codes.
bool colonneParmi(const ExtraitCode &e, std::initializer_list<const char *> codes)
{
    for (const char *code : codes)
        if (e.colonne(QString::fromLatin1(code)) >= 0) return true;
    return false;
}

// Each column given a value that is still NULL in the row (a stored value is never replaced).
bool remplirVides(const QString &table, const QString &cle, const QVector<QVariant> &cles,
                  const QVector<QPair<QString, QVariant>> &valeurs)
{
    bool ok = true;
    for (const auto &[colonne, valeur] : valeurs) {
        if (valeur.isNull()) continue;
        ok = executer(QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") + colonne +
                          QStringLiteral("=? WHERE ") + cle + QStringLiteral(" AND ") + colonne +
                          QStringLiteral(" IS NULL"),
                      QVector<QVariant>{valeur} + cles) &&
             ok;
    }
    return ok;
}

qint64 reseauAssure(const QString &codeSandre)
{
    const QVariant trouve =
        premiere(QStringLiteral("SELECT CodeReseau FROM RESEAUX WHERE CodeSandre=?"), {codeSandre});
    if (!trouve.isNull()) return qint64(trouve.toDouble());
    bd().verrouiller(QStringLiteral("RESEAUX"));
    const QVariant max = bd().valeur(QStringLiteral("SELECT max(CodeReseau) FROM RESEAUX"));
    const qint64 code = max.isNull() ? 1 : qint64(max.toDouble()) + 1;
    return executer(QStringLiteral("INSERT INTO RESEAUX (CodeReseau, Libelle, CodeSandre) VALUES "
                                   "(?, ?, ?)"),
                    {code, u'<' + codeSandre + u'>', codeSandre})
               ? code
               : -1;
}

bool lierReseau(qint64 station, const Groupe &g)
{
    const QString codeSandre = g("STQ.102");
    if (codeSandre.isEmpty()) return true;
    const qint64 reseau = reseauAssure(codeSandre);
    if (reseau < 0) return false;
    if (!premiere(QStringLiteral("SELECT CodeReseau FROM LIEN_QUALITO_RESEAUX WHERE "
                                 "CodeQualitometre=? AND CodeReseau=?"),
                  {station, reseau})
             .isNull())
        return true;
    const QVariant debut = date(g("STQ.22"));
    return executer(QStringLiteral("INSERT INTO LIEN_QUALITO_RESEAUX (CodeQualitometre, "
                                   "CodeReseau, DateDebut, DateFin) VALUES (?, ?, ?, ?)"),
                    {station, reseau,
                     debut.isNull() ? QVariant(QDateTime(QDate(1900, 1, 1), QTime(0, 0))) : debut,
                     date(g("STQ.23"))});
}

// Quality states of a station: ETA.1 the year (stored as 1 January), ETA.2 the kind of state,
// ETA.3 its value; a state already stored for that year is kept.
bool etatsStation(const Groupe &g)
{
    const int an = g.extrait->colonne(QStringLiteral("ETA.1"));
    const int etat = g.extrait->colonne(QStringLiteral("ETA.2"));
    if (an < 0 || etat < 0) return true;
    const int valeur = g.extrait->colonne(QStringLiteral("ETA.3"));
    bool ok = true;
    QSet<QString> vus;
    g.lignes.parcourir([&](int l) {
        auto v = [&](int c) { return g.extrait->valeur(l, c); };
        const int annee = v(an).toInt();
        const QVariant code = nombre(v(etat));
        if (annee < 1000 || annee > 9999 || code.isNull()) return true;
        if (vus.contains(v(an) + u'|' + v(etat))) return true;
        vus.insert(v(an) + u'|' + v(etat));
        const QDateTime debut(QDate(annee, 1, 1), QTime(0, 0));
        if (!premiere(QStringLiteral("SELECT CodeEtat FROM LIEN_QUALITO_ETATS WHERE "
                                     "CodeQualitometre=? AND CodeEtat=? AND DateDebut=?"),
                      {g.integree.station, code, debut})
                 .isNull())
            return true;
        ok = executer(
                 QStringLiteral("INSERT INTO LIEN_QUALITO_ETATS (CodeQualitometre, CodeEtat, "
                                "DateDebut, valeur) VALUES (?, ?, ?, ?)"),
                 {g.integree.station, code, debut, valeur < 0 ? QVariant() : nombre(v(valeur))}) &&
             ok;
        return true;
    });
    return ok;
}

bool decrireStation(const Groupe &g, bool creee)
{
    const qint64 station = g.integree.station;
    const QString commune = g("STQ.26").isEmpty() ? g("STQ.25") : g("STQ.26");
    // A station undone with its rows must not get a commune, water body, network or state made
    // for it; the updates below touch no row then, so the check is made only when needed.
    const bool creeDesLignes = !commune.isEmpty() || !g("STQ.101").isEmpty() ||
                               !g("STQ.103").isEmpty() || !g("STQ.102").isEmpty() ||
                               (g.extrait->colonne(QStringLiteral("ETA.1")) >= 0 &&
                                g.extrait->colonne(QStringLiteral("ETA.2")) >= 0);
    if (creeDesLignes && premiere(QStringLiteral("SELECT CodeQualitometre FROM QUALITOMETRES "
                                                 "WHERE CodeQualitometre=?"),
                                  {station})
                             .isNull())
        return true;
    bool ok = true;
    if (!commune.isEmpty()) ok = communeAssuree(commune, g("STQ.100")) && ok;
    QVariant typeFr;
    if (const QString libelle = g("STQ.104"); !libelle.isEmpty())
        typeFr = nombre(premiere(QStringLiteral("SELECT code FROM CODES_SANDRE WHERE champ LIKE "
                                                "'QUALITOMETRES.TYPE_FR.%' AND libelle=?"),
                                 {libelle})
                            .toString());
    const QString nom = g("STQ.3").left(70);
    ok = remplirVides(
             QStringLiteral("QUALITOMETRES"), QStringLiteral("CodeQualitometre=?"), {station},
             {{QStringLiteral("Nom"), nulSiVide(nom)},
              {QStringLiteral("X"), nombre(g("STQ.11"))},
              {QStringLiteral("Y"), nombre(g("STQ.12"))},
              {QStringLiteral("CodeCommune"), nombre(commune)},
              {QStringLiteral("type_fr"), typeFr},
              {QStringLiteral("Commentaires"), creee ? nulSiVide(g("STQ.20")) : QVariant()}}) &&
         ok;
    for (const char *code : {"STQ.101", "STQ.103"}) {
        const QString masse = g(code);
        if (masse.isEmpty()) continue;
        const QString codeME = masseEauAssuree(masse, {});
        ok = !codeME.isEmpty() && lierMasseEau(station, codeME) && ok;
    }
    return lierReseau(station, g) && etatsStation(g) && ok;
}

// The codes an operation, a sample and a sample part take their values from (below).
const std::initializer_list<const char *> CODES_OPERATION = {"PRL.9", "OPP.4", "ALQ.102"};
const std::initializer_list<const char *> CODES_PRELEVEMENT = {"PRL.2", "PRL.100", "PRL.101"};
const std::initializer_list<const char *> CODES_ECHANTILLON = {"ALQ.104", "ALQ.105"};

bool completerOperation(const Groupe &g)
{
    const LigneIntegree &i = g.integree;
    const QString cle = QStringLiteral("codeQualitometre=? AND codeOperation=?");
    QVariant heure;
    if (const QString h = g("PRL.9"); !h.isEmpty()) {
        const QTime t = lireDate(QStringLiteral("01/01/2000 ") + h).time();
        if (t.isValid()) heure = QDateTime(JOUR_DES_HEURES, t);
    }
    bool ok = remplirVides(
        QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS"), cle, {i.station, i.operation},
        {{QStringLiteral("dateFin"), date(g("OPP.4"))}, {QStringLiteral("heureDebut"), heure}});
    const QStringList reseaux = g.distinctes("ALQ.102");
    if (reseaux.isEmpty() ||
        premiere(
            QStringLiteral("SELECT codeOperation FROM QUALITOMETRES_POINTS_OPERATIONS WHERE ") +
                cle,
            {i.station, i.operation})
            .isNull())
        return ok;
    // The operation's programmes are the file's: replaced, numbered from 1.
    ok = executer(QStringLiteral("DELETE FROM QUALITOMETRES_POINTS_OPERATIONS_DISPOSITIFS WHERE ") +
                      cle,
                  {i.station, i.operation}) &&
         ok;
    for (int n = 0; n < reseaux.size(); ++n)
        ok = executer(QStringLiteral("INSERT INTO QUALITOMETRES_POINTS_OPERATIONS_DISPOSITIFS "
                                     "(codeQualitometre, codeOperation, indice, codeDispositif) "
                                     "VALUES (?, ?, ?, ?)"),
                      {i.station, i.operation, n + 1, reseaux[n].left(10)}) &&
             ok;
    return ok;
}

bool completerPrelevement(const Groupe &g)
{
    return remplirVides(QStringLiteral("PRELEVEMENTS"), QStringLiteral("NumPrelevement=?"),
                        {g.integree.prelevement},
                        {{QStringLiteral("Commentaire"), nulSiVide(g("PRL.2"))},
                         {QStringLiteral("Operateur"), nulSiVide(g("PRL.100").left(150))},
                         {QStringLiteral("InterpretationLabo"), nulSiVide(g("PRL.101"))}});
}

bool completerEchantillon(const Groupe &g)
{
    return remplirVides(QStringLiteral("PRELEVEMENTS_ECHANTILLONS"),
                        QStringLiteral("NumPrelevement=? AND NumEchantillon=?"),
                        {g.integree.prelevement, g.integree.echantillon},
                        {{QStringLiteral("ReferenceLabo"), nulSiVide(g("ALQ.104").left(17))},
                         {QStringLiteral("Commentaire"), nulSiVide(g("ALQ.105"))}});
}

bool nommerPoint(const Groupe &g)
{
    return remplirVides(QStringLiteral("QUALITOMETRES_POINTS"),
                        QStringLiteral("codeQualitometre=? AND codePoint=?"),
                        {g.integree.station, g.integree.point},
                        {{QStringLiteral("nom"), supportCode(g("SUP.2")).libelle}});
}

bool heureAnalyse(const ExtraitCode &extrait, const LigneIntegree &i)
{
    const QString h = valeurCode(QStringLiteral("ALQ"), 11, extrait, i.ligne);
    const QTime t = lireDate(QStringLiteral("01/01/2000 ") + h).time();
    if (h.isEmpty() || !t.isValid()) return true;
    const QString table = tableAnalyses(i.codeBSS);
    return table.isEmpty() ||
           executer(QStringLiteral("UPDATE ") + table +
                        QStringLiteral(" SET HeureAnalyse=? WHERE NumPrelevement=? AND "
                                       "NumAnalyse=?"),
                    {QDateTime(JOUR_DES_HEURES, t), i.prelevement, i.analyse});
}

// A parameter this run created from a code takes the name and long name the file gives.
bool nommerParametres(const ExtraitCode &extrait, const QVector<LigneIntegree> &integrees,
                      const QStringList &crees)
{
    bool ok = true;
    QSet<QString> faits;
    // Every row is looked at: the columns are found once.
    const int alq9 = extrait.colonne(QStringLiteral("ALQ.9")),
              par2 = extrait.colonne(QStringLiteral("PAR.2")),
              par3 = extrait.colonne(QStringLiteral("PAR.3")),
              par100 = extrait.colonne(QStringLiteral("PAR.100"));
    for (const LigneIntegree &i : integrees) {
        QString code = extrait.valeur(i.ligne, alq9);
        if (code.isEmpty()) code = extrait.valeur(i.ligne, par2);
        const QString &nom = extrait.valeur(i.ligne, par3);
        if (code.isEmpty() || nom.isEmpty() || faits.contains(code) || !crees.contains(code))
            continue;
        faits.insert(code);
        ok = remplirVides(QStringLiteral("ANALYSES_PARAMETRES"), QStringLiteral("Code=?"), {code},
                          {{QStringLiteral("LibelleLong"),
                            nulSiVide(extrait.valeur(i.ligne, par100).left(25))}}) &&
             executer(QStringLiteral("UPDATE ANALYSES_PARAMETRES SET Nom=? WHERE Code=? AND "
                                     "Nom=Code"),
                      {nom.left(255), code}) &&
             ok;
    }
    return ok;
}

// The groups of one kind, written in the order of their key text. Consecutive rows mostly fall
// in the same group: its key text is built only when the group changes.
class Groupes
{
  public:
    template <typename F>
    void grouper(std::pair<qint64, qint64> ids, F cle, const ExtraitCode &e, const LigneIntegree &i)
    {
        if (!m_dernier || ids != m_ids) {
            m_ids = ids;
            m_dernier = &m_groupes[cle()];
        }
        if (!m_dernier->extrait) {
            m_dernier->extrait = &e;
            m_dernier->integree = i;
        }
        m_dernier->lignes.ajouter(i.ligne);
    }
    const QMap<QString, Groupe> &groupes() const { return m_groupes; }

  private:
    QMap<QString, Groupe> m_groupes; // nodes stay in place: m_dernier remains valid
    Groupe *m_dernier = nullptr;
    std::pair<qint64, qint64> m_ids;
};

} // namespace

bool communeAssuree(const QString &code, const QString &nom)
{
    if (!premiere(QStringLiteral("SELECT codeCommune FROM COMMUNES WHERE codeCommune=?"), {code})
             .isNull())
        return true;
    return code.size() <= 12 &&
           executer(
               QStringLiteral("INSERT INTO COMMUNES (CodeCommune, Nom) VALUES (?, ?)"),
               {code, (nom.trimmed().isEmpty() ? u'<' + code + u'>' : nom.trimmed()).left(35)});
}

QString masseEauAssuree(const QString &code, const QString &libelle)
{
    const QString c = code.trimmed();
    for (const QString &essai : {c, QStringLiteral("FR") + c})
        for (const char *colonne : {"Code_ME", "Code_Europeen"}) {
            const QVariant trouve =
                premiere(QStringLiteral("SELECT Code_ME FROM MASSES_EAUX WHERE ") +
                             QString::fromLatin1(colonne) + QStringLiteral("=?"),
                         {essai});
            if (!trouve.isNull()) return trouve.toString();
        }
    if (c.isEmpty() || c.size() > 22) return {};
    return executer(
               QStringLiteral("INSERT INTO MASSES_EAUX (Code_ME, Libelle) VALUES (?, ?)"),
               {c, (libelle.trimmed().isEmpty() ? u'<' + c + u'>' : libelle.trimmed()).left(100)})
               ? c
               : QString();
}

bool lierMasseEau(qint64 station, const QString &codeME, bool nouvelle)
{
    if (!nouvelle && !premiere(QStringLiteral("SELECT Code_ME FROM LIEN_QUALITO_MASSE_EAU WHERE "
                                              "CodeQualitometre=? AND Code_ME=?"),
                               {station, codeME})
                          .isNull())
        return true;
    return executer(QStringLiteral("INSERT INTO LIEN_QUALITO_MASSE_EAU (CodeQualitometre, "
                                   "Code_ME) VALUES (?, ?)"),
                    {station, codeME});
}

void completerExtrait(const ExtraitCode &extrait, const QVector<LigneIntegree> &integrees,
                      const OptionsIntegration &options, BilanAnalyses &bilan)
{
    (void)options;
    if (integrees.isEmpty()) return;
    Groupes stations, points, operations, prelevements, echantillons;
    // A kind none of whose codes the extract has would write nothing: its groups are not made.
    const bool parOperation = colonneParmi(extrait, CODES_OPERATION),
               parPrelevement = colonneParmi(extrait, CODES_PRELEVEMENT),
               parEchantillon = colonneParmi(extrait, CODES_ECHANTILLON);
    auto n = [](qint64 v) { return QString::number(v); };
    for (const LigneIntegree &i : integrees) {
        stations.grouper(
            {i.station, 0}, [&] { return n(i.station); }, extrait, i);
        points.grouper(
            {i.station, i.point}, [&] { return n(i.station) + u'|' + n(i.point); }, extrait, i);
        if (parOperation)
            operations.grouper(
                {i.station, i.operation}, [&] { return n(i.station) + u'|' + n(i.operation); },
                extrait, i);
        if (parPrelevement)
            prelevements.grouper(
                {i.prelevement, 0}, [&] { return n(i.prelevement); }, extrait, i);
        if (parEchantillon && !i.echantillon.isNull())
            echantillons.grouper(
                {i.prelevement, i.echantillon.toLongLong()},
                [&] { return n(i.prelevement) + u'|' + i.echantillon.toString(); }, extrait, i);
    }
    Transaction transaction;
    bool ok = true;
    for (const Groupe &g : stations.groupes())
        ok = decrireStation(g, bilan.stationsCreees.contains(g.integree.codeBSS)) && ok;
    if (extrait.colonne(QStringLiteral("PAR.3")) >= 0 && !bilan.parametresCrees.isEmpty())
        ok = nommerParametres(extrait, integrees, bilan.parametresCrees) && ok;
    for (const Groupe &g : points.groupes())
        ok = nommerPoint(g) && ok;
    for (const Groupe &g : operations.groupes())
        ok = completerOperation(g) && ok;
    for (const Groupe &g : prelevements.groupes())
        ok = completerPrelevement(g) && ok;
    for (const Groupe &g : echantillons.groupes())
        ok = completerEchantillon(g) && ok;
    if (extrait.colonne(QStringLiteral("ALQ.11")) >= 0)
        for (const LigneIntegree &i : integrees)
            ok = heureAnalyse(extrait, i) && ok;
    if (!transaction.valider()) ok = false;
    if (!ok) {
        const QString e = QStringLiteral("La description des stations, opérations et "
                                         "prélèvements n'a pas été entièrement écrite : ") +
                          bd().derniereErreur();
        bilan.erreur = bilan.erreur.isEmpty() ? e : bilan.erreur + u'\n' + e;
    }
}

} // namespace vyk
