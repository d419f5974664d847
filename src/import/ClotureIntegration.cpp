#include "import/IntegrationInterne.h"

#include "db/BaseDonnees.h"
#include "db/ChampDecrit.h"
#include "db/InsertionMassive.h"
#include "db/Outils.h"
#include "db/Progression.h"
#include "db/RaisonsMoteur.h"
#include "schema/Catalogue.h"

#include <algorithm>
#include <charconv>

namespace vyk {

namespace {

void ajouterNombre(QString &texte, qint64 n)
{
    char chiffres[24];
    const auto fin = std::to_chars(chiffres, chiffres + sizeof chiffres, n).ptr;
    texte += QLatin1StringView(chiffres, fin - chiffres);
}

QString liste(const QVector<qint64> &nombres, int debut, int fin)
{
    QString l;
    l.reserve(8 * (fin - debut));
    for (int i = debut; i < fin; ++i) {
        if (i > debut) l += u',';
        ajouterNombre(l, nombres[i]);
    }
    return l;
}

// "colonne IN (...)" for nombres[debut, fin), its runs of consecutive numbers as ranges: a
// station's samples and operations are mostly numbered in a row, and a range is parsed once
// where a list is parsed number by number.
QString parmi(const QString &colonne, const QVector<qint64> &nombres, int debut, int fin)
{
    QVector<qint64> tries(nombres.begin() + debut, nombres.begin() + fin);
    std::sort(tries.begin(), tries.end());
    tries.erase(std::unique(tries.begin(), tries.end()), tries.end());
    QStringList conditions;
    QVector<qint64> seuls;
    for (qsizetype i = 0, j = 0; i < tries.size(); i = j) {
        for (j = i + 1; j < tries.size() && tries[j] == tries[j - 1] + 1;)
            ++j;
        if (j - i < 3) {
            seuls.append(tries.mid(i, j - i));
            continue;
        }
        QString plage = colonne + QStringLiteral(" BETWEEN ");
        ajouterNombre(plage, tries[i]);
        plage += QStringLiteral(" AND ");
        ajouterNombre(plage, tries[j - 1]);
        conditions << plage;
    }
    if (!seuls.isEmpty())
        conditions << colonne + QStringLiteral(" IN (") + liste(seuls, 0, int(seuls.size())) + u')';
    return conditions.size() == 1 ? conditions.first()
                                  : u'(' + conditions.join(QStringLiteral(" OR ")) + u')';
}

constexpr int PAR_REQUETE = 500;

// Sample columns set from their analyses when all of them carry one same value.
struct Principale
{
    const char *prelevement, *analyse;
};
constexpr Principale PRINCIPALES[] = {
    {"CodeProducteurPrincipal", "CodeProducteur"},
    {"ReferenceProducteurPrincipal", "ReferenceProducteur"},
    {"NumLaboPrincipal", "NumLabo"},
    {"CodeLaboPrincipal", "CodeLabo"},
    {"ReferenceLaboPrincipal", "ReferenceLabo"},
    {"Accreditation", "Accreditation"},
    {"CodeLieuPrincipal", "CodeLieu"},
    {"CodeDifficultePrincipal", "CodeDifficulte"},
    {"CodeFractionPrincipal", "CodeFraction"},
    {"CodeSupportPrincipal", "CodeSupport"},
    {"profDebut", "profDebut"},
    {"profFin", "profFin"},
};
// Operation columns set the same way, from the analyses of its samples.
constexpr Principale OPERATION[] = {
    {"codeProducteur", "CodeProducteur"},
    {"qualification", "CodeQualification"},
    {"statut", "StatutMesure"},
    {"supportBiologique", "CodeSupport"},
};

// "count(x), min(x), max(x)" for each column, after count(*). One value throughout is
// min = max with no NULL: no DISTINCT, whose sorting costs more than the rest of the query.
QString agregats(const Principale *debut, const Principale *fin)
{
    QString s = QStringLiteral("count(*)");
    for (const Principale *p = debut; p != fin; ++p) {
        const QString a = QStringLiteral("a.") + QString::fromLatin1(p->analyse);
        s += QStringLiteral(", count(") + a + QStringLiteral("), min(") + a +
             QStringLiteral("), max(") + a + u')';
    }
    return s;
}

const QString PRELEVEMENTS = QStringLiteral("PRELEVEMENTS");
const QString OPERATIONS = QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS");

// The columns [debut, fin) of a sample or an operation: their definitions and assignments, found
// once (the catalogue is searched by name).
struct Cibles
{
    QVector<const DefinitionColonne *> definitions;
    QStringList affectations; // "colonne=?"
};
Cibles cibles(const QString &table, const Principale *debut, const Principale *fin)
{
    Cibles c;
    for (const Principale *p = debut; p != fin; ++p) {
        const QString colonne = QString::fromLatin1(p->prelevement);
        c.definitions << definitionTable(table)->colonne(colonne);
        c.affectations << colonne + QStringLiteral("=?");
    }
    return c;
}
const Cibles &ciblesPrelevement()
{
    static const Cibles c = cibles(PRELEVEMENTS, std::begin(PRINCIPALES), std::end(PRINCIPALES));
    return c;
}
const Cibles &ciblesOperation()
{
    static const Cibles c = cibles(OPERATIONS, std::begin(OPERATION), std::end(OPERATION));
    return c;
}
const DefinitionColonne *definitionDemande()
{
    static const DefinitionColonne *d =
        definitionTable(PRELEVEMENTS)->colonne(QStringLiteral("codeDemande"));
    return d;
}

// A value for a column of a sample or an operation: a text that does not fit, or a number that
// is not one, gives nothing.
QVariant convertir(const QVariant &v, const DefinitionColonne *def)
{
    if (v.isNull() || !def) return {};
    if (def->type == TypeNeutre::Texte || def->type == TypeNeutre::Memo) {
        const QString s = texteValeur(v).trimmed();
        return def->taille > 0 && s.size() > def->taille ? QVariant() : QVariant(s);
    }
    return enNombre(texteValeur(v), true).variant();
}

// The one value every analysis carries, or nothing; converted to the target column.
QVariant valeurUnique(const Tableau &t, int ligne, int k, const DefinitionColonne *colonne)
{
    const int c = 2 + 3 * k;
    const qint64 n = t(ligne, c).toLongLong();
    if (n == 0 || n != t(ligne, 1).toLongLong() || t(ligne, c + 1) != t(ligne, c + 2)) return {};
    return convertir(t(ligne, c + 1), colonne);
}

// The agreed value of each target column, from a row of the aggregates query.
QVector<QVariant> uniquesLus(const Tableau &t, int ligne, const Cibles &cibles)
{
    QVector<QVariant> u;
    u.reserve(cibles.definitions.size());
    for (int k = 0; k < cibles.definitions.size(); ++k)
        u << valeurUnique(t, ligne, k, cibles.definitions[k]);
    return u;
}

// The same from the agreement of the analyses this run wrote, appended to a row.
void ajouterUniquesNotes(QVector<QVariant> &ligne, const QVector<Accord> &accords,
                         const Cibles &cibles)
{
    for (int k = 0; k < cibles.definitions.size(); ++k)
        ligne << convertir(accords[k].unique(), cibles.definitions[k]);
}

QVector<QVariant> uniquesNotes(const QVector<Accord> &accords, const Cibles &cibles)
{
    QVector<QVariant> u;
    u.reserve(cibles.definitions.size());
    ajouterUniquesNotes(u, accords, cibles);
    return u;
}

int positionAnalyse(const char *colonne)
{
    return int(IntegrationAnalyses::colonnesAnalyse().indexOf(QLatin1String(colonne)));
}

// Columns of a new operation, in the order IntegrationAnalyses::operationDe fills them.
const QStringList &colonnesOperation()
{
    static const QStringList c = {"codeQualitometre",  "codeOperation",        "codePoint",
                                  "dateDebut",         "qualification",        "statut",
                                  "Commentaires",      "codeDeterminateur",    "codeProducteur",
                                  "codePreleveur",     "protocoleBiologique",  "localisation",
                                  "contactPreleveur",  "contactDeterminateur", "jobExecutionId",
                                  "supportBiologique", "codeCampagne"};
    return c;
}

} // namespace

// Closing updates gathered by identical assignments: the rows that take the same values are
// one statement ("... WHERE key IN (...)"), not one each. A row's assignments are a mask over
// the possible ones ("colonne=?"), given once.
class MajGroupees
{
  public:
    explicit MajGroupees(const QStringList &possibles) : m_possibles(possibles) {}
    void ajouter(quint32 masque, const QVector<QVariant> &valeurs, qint64 code)
    {
        QVector<int> &candidats = m_index[cle(masque, valeurs)];
        for (const int i : std::as_const(candidats))
            if (m_groupes[i].masque == masque && memesValeurs(m_groupes[i].valeurs, valeurs)) {
                m_groupes[i].codes << code;
                return;
            }
        candidats << int(m_groupes.size());
        m_groupes.append({masque, valeurs, {code}});
    }
    // "UPDATE table SET ... WHERE <condition> colonne IN (...)": the condition's values come
    // after the assignments'. In a desktop file, a row that already holds the values is left
    // alone (a station imported again): SQLite's IS compares as the column stores, so such a
    // row would be written back unchanged, at the cost of a write per row.
    bool executer(const QString &table, const QString &condition,
                  const QVector<QVariant> &valeursCondition, const QString &colonne) const
    {
        const bool inchangesLaisses = bd().typeBase() == ACCESS;
        for (const Groupe &g : m_groupes) {
            QStringList affectations;
            for (int k = 0; k < m_possibles.size(); ++k)
                if (g.masque & (1u << k)) affectations << m_possibles[k];
            QString inchanges;
            QVector<QVariant> valeurs = g.valeurs + valeursCondition;
            if (inchangesLaisses) {
                QStringList egalites = affectations;
                for (QString &e : egalites)
                    e.replace(e.size() - 2, 2, QStringLiteral(" IS ?")); // "colonne=?"
                inchanges =
                    QStringLiteral(" AND NOT (") + egalites.join(QStringLiteral(" AND ")) + u')';
                valeurs += g.valeurs;
            }
            for (int d = 0; d < g.codes.size(); d += PAR_REQUETE) {
                InstructionPreparee q =
                    bd().preparer(QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") +
                                  affectations.join(QStringLiteral(", ")) +
                                  QStringLiteral(" WHERE ") + condition +
                                  parmi(colonne, g.codes, d,
                                        std::min<int>(d + PAR_REQUETE, int(g.codes.size()))) +
                                  inchanges);
                if (!q.executer(valeurs)) return false;
            }
        }
        return true;
    }

  private:
    // A hash of the assignments and values: equal ones give equal hashes, no text is built.
    static size_t cle(quint32 masque, const QVector<QVariant> &valeurs)
    {
        size_t h = qHash(masque);
        for (const QVariant &v : valeurs) {
            h = qHashMulti(h, v.typeId());
            switch (v.typeId()) {
            case QMetaType::QString:
                h = melanger<QString>(h, v);
                break;
            case QMetaType::LongLong:
                h = melanger<qlonglong>(h, v);
                break;
            case QMetaType::Int:
                h = melanger<int>(h, v);
                break;
            case QMetaType::Double:
                h = melanger<double>(h, v);
                break;
            default: // rarely met: left to memesValeurs
                break;
            }
        }
        return h;
    }
    template <typename T> static size_t melanger(size_t h, const QVariant &v)
    {
        return qHashMulti(h, *static_cast<const T *>(v.constData()));
    }
    static bool memesValeurs(const QVector<QVariant> &a, const QVector<QVariant> &b)
    {
        if (a.size() != b.size()) return false;
        for (int i = 0; i < a.size(); ++i) {
            if (a[i].typeId() != b[i].typeId() || a[i].isNull() != b[i].isNull()) return false;
            // Two numbers go together only when exactly equal, not when close.
            if (a[i].typeId() == QMetaType::Double
                    ? *static_cast<const double *>(a[i].constData()) !=
                          *static_cast<const double *>(b[i].constData())
                    : a[i] != b[i])
                return false;
        }
        return true;
    }
    struct Groupe
    {
        quint32 masque; // over m_possibles
        QVector<QVariant> valeurs;
        QVector<qint64> codes;
    };
    const QStringList m_possibles;
    QVector<Groupe> m_groupes;
    QHash<size_t, QVector<int>> m_index; // by cle()
};

// A rewritten analysis keeps its number: the stored row goes, the new one comes. A sample whose
// stored analyses are all rewritten is emptied at once.
bool IntegrationAnalyses::supprimerReecrites(QString &raison)
{
    const QString &table = m_station.table;
    QVector<qint64> entiers;
    qint64 analysesEntiers = 0;
    for (auto i = m_aRemplacer.cbegin(); i != m_aRemplacer.cend(); ++i)
        if (const int n = m_prelevements[i.key()].nbStockees; i->size() >= n) {
            entiers << i.key();
            analysesEntiers += n;
        }
    auto supprimer = [&](const QString &condition) {
        if (bd().Execute(QStringLiteral("DELETE FROM ") + table +
                         (condition.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condition)))
            return true;
        raison = QStringLiteral("les analyses à réécrire n'ont pas pu être supprimées : ") +
                 raisonMoteur(bd().derniereErreur());
        return false;
    };
    // When those samples hold every row of the table (a station imported again), a desktop file's
    // table is emptied whole: SQLite then frees its pages without visiting each row and its index
    // entry. A server gains nothing from it and would pay a round trip for the count.
    if (analysesEntiers > 0 && bd().typeBase() == ACCESS &&
        bd().valeur(QStringLiteral("SELECT count(*) FROM ") + table).toLongLong() ==
            analysesEntiers) {
        if (!supprimer({})) return false;
        entiers.clear();
    }
    for (int d = 0; d < entiers.size(); d += PAR_REQUETE)
        if (!supprimer(QStringLiteral("NumPrelevement IN (") +
                       liste(entiers, d, std::min<int>(d + PAR_REQUETE, int(entiers.size()))) +
                       u')'))
            return false;
    for (auto i = m_aRemplacer.cbegin(); i != m_aRemplacer.cend(); ++i) {
        if (i->size() >= m_prelevements[i.key()].nbStockees) continue;
        for (int d = 0; d < i->size(); d += PAR_REQUETE)
            if (!supprimer(QStringLiteral("NumPrelevement=") + QString::number(i.key()) +
                           QStringLiteral(" AND NumAnalyse IN (") +
                           liste(*i, d, std::min<int>(d + PAR_REQUETE, int(i->size()))) + u')'))
                return false;
    }
    return true;
}

bool IntegrationAnalyses::ecrireAnalyses(QString &raison)
{
    if (m_attente.isEmpty()) return true;
    if (!supprimerReecrites(raison)) return false;
    InsertionMassive insertion(m_station.table, colonnesAnalyse());
    if (!insertion.estValide()) {
        raison = insertion.erreur();
        return false;
    }
    for (const AnalyseEnAttente &a : std::as_const(m_attente))
        insertion.ajouter(a.valeurs);
    insertion.terminer();
    QSet<int> enErreur;
    for (const InsertionMassive::ErreurLigne &e : insertion.erreurs()) {
        const int index = int(e.numero - 1);
        if (index < 0 || index >= m_attente.size()) continue;
        enErreur.insert(index);
        signalerLigne(m_attente[index].ligne, raisonMoteur(e.message));
    }
    // The analyses of a sample follow each other: its entries are looked up once per run of them
    // (nothing is added to these tables between two look-ups, so the pointers hold).
    qint64 courant = -1;
    PrelevementImport *p = nullptr;
    Accords *accordsPrelevement = nullptr, *accordsOperation = nullptr;
    for (int i = 0; i < m_attente.size(); ++i) {
        AnalyseEnAttente &a = m_attente[i];
        if (enErreur.contains(i)) continue;
        if (!p || a.prelevement != courant) {
            courant = a.prelevement;
            p = &m_prelevements[courant];
            accordsPrelevement = &m_accordsPrelevements[courant];
            accordsOperation = &m_accordsOperations[p->operation];
        }
        noterAccords(a, *accordsPrelevement, *accordsOperation);
        ++(a.reecriture ? m_bilan.analysesReecrites : m_bilan.analysesAjoutees);
        // The station's samples are forgotten once it is closed: their identities need no
        // update, only the count of stored analyses the closing reads.
        if (!a.reecriture) ++p->nbStockees;
    }
    libererAttente();
    m_aRemplacer.clear();
    if (!enErreur.isEmpty() && m_options.arretPremiereErreur) {
        raison = m_bilan.lignesEnErreur.last().raison;
        return false;
    }
    return true;
}

void IntegrationAnalyses::noterAccords(const AnalyseEnAttente &a, Accords &p, Accords &o)
{
    // Positions of the agreeing columns in an analysis row, found once.
    static const auto positions = [](const Principale *debut, const Principale *fin) {
        QVector<int> p;
        for (const Principale *c = debut; c != fin; ++c)
            p << positionAnalyse(c->analyse);
        return p;
    };
    static const QVector<int> duPrelevement =
        positions(std::begin(PRINCIPALES), std::end(PRINCIPALES));
    static const QVector<int> deLOperation = positions(std::begin(OPERATION), std::end(OPERATION));
    p.ajouter(a.valeurs.constData(), duPrelevement);
    o.ajouter(a.valeurs.constData(), deLOperation);
}

bool IntegrationAnalyses::ecrireNouveaux(QString &raison)
{
    // New samples and operations hold only this run's analyses: their closing columns are known
    // here, and they go in by one bulk insertion each, prepared only when there is one.
    static const QStringList colonnes = [] {
        QStringList c = {"NumPrelevement", "CodeQualitometre", "codeOperation",
                         "DateDebut",      "HeureDebut",       "codeDemande"};
        for (const Principale &p : PRINCIPALES)
            c << QString::fromLatin1(p.prelevement);
        return c;
    }();
    auto echec = [&raison](InsertionMassive &i, const QString &pourquoi) {
        if (i.terminer() && i.erreurs().isEmpty()) return false;
        raison = pourquoi + (i.erreurs().isEmpty() ? i.erreur() : i.erreurs().first().message);
        return true;
    };
    std::optional<InsertionMassive> prels;
    QVector<QVariant> ligne;
    std::optional<std::pair<QTime, QDateTime>> heure; // the last time and what it gave
    for (const qint64 numero : std::as_const(m_prelevementsRencontres)) {
        PrelevementImport &p = m_prelevements[numero];
        if (!p.nouveau) continue;
        if (!prels) prels.emplace(PRELEVEMENTS, colonnes);
        const QString demande = p.codeDemande.isEmpty() ? m_options.codeDemande : p.codeDemande;
        ligne.clear();
        ligne.reserve(colonnes.size());
        // Most samples of a station share their time (often none, midnight): made once per run
        // of it, a local date and time costing a time-zone lookup.
        if (!heure || heure->first != p.heure)
            heure.emplace(p.heure, QDateTime(JOUR_DES_HEURES, p.heure));
        ligne << double(numero) << m_station.code << p.operation << QDateTime(p.date, QTime(0, 0))
              << heure->second << convertir(nulSiVide(demande), definitionDemande());
        const auto accords = m_accordsPrelevements.constFind(numero);
        if (accords == m_accordsPrelevements.constEnd() || accords->colonnes.isEmpty())
            ligne.resize(colonnes.size());
        else
            ajouterUniquesNotes(ligne, accords->colonnes, ciblesPrelevement());
        prels->ajouter(ligne);
        // Written from now on: a later run of the station finds it stored.
        p.nouveau = false;
        p.analysesLues = true;
    }
    if (prels && echec(*prels, QStringLiteral("les prélèvements n'ont pas pu être écrits : ")))
        return false;
    if (m_nouvellesOperations.isEmpty()) return true;
    InsertionMassive ops(OPERATIONS, colonnesOperation());
    for (QVector<QVariant> &o : m_nouvellesOperations) {
        const auto accords = m_accordsOperations.constFind(o[1].toLongLong());
        const int cibles[] = {8, 4, 5, 15}; // codeProducteur, qualification, statut, support
        for (int k = 0; accords != m_accordsOperations.constEnd() && k < accords->colonnes.size();
             ++k)
            if (QVariant v =
                    convertir(accords->colonnes.at(k).unique(), ciblesOperation().definitions[k]);
                !v.isNull())
                o[cibles[k]] = std::move(v);
        ops.ajouter(o);
    }
    if (echec(ops, QStringLiteral("les opérations n'ont pas pu être écrites : "))) return false;
    m_nouvellesOperations.clear();
    return true;
}

// A sample whose every stored analysis was written by this run (rewritten or added): its
// agreement is known here and needs no query.
bool IntegrationAnalyses::complet(qint64 prelevement) const
{
    const auto a = m_accordsPrelevements.constFind(prelevement);
    const int notees = a == m_accordsPrelevements.constEnd() ? 0 : a->nombre;
    return notees == m_prelevements.value(prelevement).nbStockees;
}

bool IntegrationAnalyses::majPrelevementsExistants()
{
    static const QStringList possibles =
        ciblesPrelevement().affectations + QStringList{QStringLiteral("codeDemande=?")};
    MajGroupees majs(possibles);
    QVector<qint64> prels;
    for (const qint64 n : std::as_const(m_prelevementsRencontres)) {
        if (m_prelevements[n].nouveau || m_nouveauxEcrits.contains(n)) continue;
        if (!complet(n)) {
            prels << n;
            continue;
        }
        const auto accords = m_accordsPrelevements.constFind(n);
        if (accords == m_accordsPrelevements.constEnd() || accords->nombre == 0)
            continue; // no analysis: untouched
        majPrelevement(majs, n, uniquesNotes(accords->colonnes, ciblesPrelevement()));
    }
    for (int d = 0; d < prels.size(); d += PAR_REQUETE) {
        const QString numeros = liste(prels, d, std::min<int>(d + PAR_REQUETE, int(prels.size())));
        const Tableau t = bd().extraire(QStringLiteral("SELECT a.NumPrelevement, ") +
                                        agregats(std::begin(PRINCIPALES), std::end(PRINCIPALES)) +
                                        QStringLiteral(" FROM ") + m_station.table +
                                        QStringLiteral(" a WHERE a.NumPrelevement IN (") + numeros +
                                        QStringLiteral(") GROUP BY a.NumPrelevement"));
        for (int l = 0; l < t.nbLignes(); ++l)
            majPrelevement(majs, qint64(t(l, 0).toDouble()), uniquesLus(t, l, ciblesPrelevement()));
    }
    return majs.executer(PRELEVEMENTS, {}, {}, QStringLiteral("NumPrelevement"));
}

// The sample's main columns where its analyses agree (`uniques`, in the order of PRINCIPALES),
// and its request code.
void IntegrationAnalyses::majPrelevement(MajGroupees &majs, qint64 numero,
                                         const QVector<QVariant> &uniques)
{
    quint32 masque = 0;
    QVector<QVariant> valeurs;
    constexpr int n = int(std::size(PRINCIPALES));
    for (int k = 0; k < n; ++k) {
        if (uniques[k].isNull()) continue;
        masque |= 1u << k;
        valeurs << uniques[k];
    }
    const QString demande = m_prelevements[numero].codeDemande.isEmpty()
                                ? m_options.codeDemande
                                : m_prelevements[numero].codeDemande;
    if (const QVariant v = convertir(nulSiVide(demande), definitionDemande()); !v.isNull()) {
        masque |= 1u << n; // codeDemande
        valeurs << v;
    }
    if (masque) majs.ajouter(masque, valeurs, numero);
}

bool IntegrationAnalyses::majOperationsExistantes()
{
    // An operation whose every sample is complete is closed from this run's agreement.
    QHash<qint64, int> complets;
    for (const qint64 n : std::as_const(m_prelevementsRencontres))
        if (complet(n)) ++complets[m_prelevements.value(n).operation];
    static const QStringList possibles =
        QStringList{QStringLiteral("jobExecutionId=?")} + ciblesOperation().affectations;
    MajGroupees majs(possibles);
    QVector<qint64> ops;
    for (const qint64 op : std::as_const(m_operationsTouchees)) {
        if (complets.value(op) != m_nbPrelevementsOperation.value(op, -1)) {
            ops << op;
            continue;
        }
        const auto accords = m_accordsOperations.constFind(op);
        if (accords == m_accordsOperations.constEnd() || accords->nombre == 0)
            continue; // no analysis: untouched
        majOperation(majs, op, uniquesNotes(accords->colonnes, ciblesOperation()));
    }
    std::sort(ops.begin(), ops.end());
    const QString station = QString::number(m_station.code);
    for (int d = 0; d < ops.size(); d += PAR_REQUETE) {
        const Tableau t = bd().extraire(
            QStringLiteral("SELECT p.codeOperation, ") +
            agregats(std::begin(OPERATION), std::end(OPERATION)) + QStringLiteral(" FROM ") +
            m_station.table +
            QStringLiteral(" a INNER JOIN PRELEVEMENTS p ON p.NumPrelevement=a.NumPrelevement "
                           "WHERE p.CodeQualitometre=") +
            station + QStringLiteral(" AND p.codeOperation IN (") +
            liste(ops, d, std::min<int>(d + PAR_REQUETE, int(ops.size()))) +
            QStringLiteral(") GROUP BY p.codeOperation"));
        for (int l = 0; l < t.nbLignes(); ++l)
            majOperation(majs, qint64(t(l, 0).toDouble()), uniquesLus(t, l, ciblesOperation()));
    }
    return majs.executer(OPERATIONS, QStringLiteral("codeQualitometre=? AND "), {m_station.code},
                         QStringLiteral("codeOperation"));
}

// The operation's execution, and its columns where its analyses agree (`uniques`, in the order
// of OPERATION).
void IntegrationAnalyses::majOperation(MajGroupees &majs, qint64 code,
                                       const QVector<QVariant> &uniques)
{
    quint32 masque = 1; // jobExecutionId
    QVector<QVariant> valeurs = {m_options.execution >= 0 ? QVariant(m_options.execution)
                                                          : QVariant()};
    for (int k = 0; k < int(std::size(OPERATION)); ++k) {
        if (uniques[k].isNull()) continue;
        masque |= 1u << (k + 1);
        valeurs << uniques[k];
    }
    majs.ajouter(masque, valeurs, code);
}

bool IntegrationAnalyses::clotureStation()
{
    m_progression.message(QStringLiteral("Mise à jour des informations des opérations"));
    // Samples and operations created by the run are written whole; those that were stored get
    // their closing columns from all their analyses, the older ones included.
    m_nouveauxEcrits.clear();
    for (const qint64 n : std::as_const(m_prelevementsRencontres))
        if (m_prelevements[n].nouveau) m_nouveauxEcrits.insert(n);
    for (const QVector<QVariant> &o : std::as_const(m_nouvellesOperations))
        m_operationsTouchees.remove(o[1].toLongLong());
    QString raison;
    const bool ok =
        ecrireNouveaux(raison) && majPrelevementsExistants() && majOperationsExistantes();
    if (!ok && m_bilan.erreur.isEmpty())
        m_bilan.erreur = raison.isEmpty() ? bd().derniereErreur() : raison;
    m_accordsPrelevements.clear();
    m_accordsOperations.clear();
    return ok;
}

void IntegrationAnalyses::clotureRun()
{
    m_progression.message(QStringLiteral("Mise à jour des paramètres et unités utilisés"));
    activerParametres(m_referentiels.parametresRencontres);
    activerUnites(m_referentiels.unitesRencontres);
}

} // namespace vyk
