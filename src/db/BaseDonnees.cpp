#include "db/BaseDonnees.h"

#include "db/Dialecte.h"
#include "db/Moteur.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QScopeGuard>
#include <QUuid>

#include <sqlite3.h>

namespace vyk {

namespace {
const QString PAS_OUVERTE = messageBaseFermee();
const QString CARACTERE_REFUSE = QStringLiteral(
    "Instruction refusée : elle contient un octet nul, qu'aucune base ne peut enregistrer.");
constexpr int TAILLE_CACHE = 128;
} // namespace

BaseDonnees &BaseDonnees::instance()
{
    static BaseDonnees base;
    return base;
}

BaseDonnees::BaseDonnees() = default;

// After the application object is gone Qt's connection registry may be too: the connection is
// then left to the end of the process rather than closed through it.
BaseDonnees::~BaseDonnees()
{
    if (QCoreApplication::instance())
        fermerBase();
    else
        (void)m_moteur.release();
}

namespace {

// The engine of a backend code, opened; nullptr with the reason otherwise.
std::unique_ptr<Moteur> ouvrirMoteur(const ParametresOuverture &p, QString &code, QString &erreur)
{
    // Without TZ the C library checks the zone file again at every local date conversion, one
    // system call per date read from a table; naming the same zone once lets it read it once.
    if (!qEnvironmentVariableIsSet("TZ")) qputenv("TZ", ":/etc/localtime");
    const QString type = p.typeBase.trimmed().toUpper();
    std::unique_ptr<Moteur> moteur;
    if (type == ACCESS) {
        moteur = creerMoteurSqlite();
        code = ACCESS;
    } else if (type == POSTGRESQL || type == QLatin1String("POSTGRES")) {
        moteur = creerMoteurPostgres();
        code = POSTGRESQL;
    } else if (type.startsWith(ORACLE)) {
        moteur = creerMoteurOdbc();
        code = ORACLE;
    } else {
        erreur = QStringLiteral("Type de base de données inconnu : « %1 ».").arg(p.typeBase);
        return nullptr;
    }
    if (!moteur->ouvrir(p, erreur)) return nullptr;
    // An ODBC source names its own DBMS: a PostgreSQL one takes the PostgreSQL dialect.
    if (moteur->cible() == Cible::Postgres) code = POSTGRESQL;
    return moteur;
}

} // namespace

QString BaseDonnees::essayerBase(const QString &base, const QString &typeBase,
                                 const QString &serveur, const QString &utilisateur,
                                 const QString &motDePasse, const QString &module,
                                 const QString &port)
{
    QString code, erreur;
    std::unique_ptr<Moteur> moteur = ouvrirMoteur(
        {base, typeBase, serveur, port, utilisateur, motDePasse, module}, code, erreur);
    if (!moteur)
        return erreur.isEmpty() ? QStringLiteral("La base de données n'a pas pu être ouverte.")
                                : erreur;
    moteur->fermer();
    return {};
}

bool BaseDonnees::ouvrirBase(const QString &base, const QString &typeBase, const QString &serveur,
                             const QString &utilisateur, const QString &motDePasse,
                             const QString &module, const QString &port)
{
    fermerBase();
    QString code;
    ParametresOuverture p{base, typeBase, serveur, port, utilisateur, motDePasse, module};
    std::unique_ptr<Moteur> moteur = ouvrirMoteur(p, code, m_derniereErreur);
    if (!moteur) return false;
    m_moteur = std::move(moteur);
    // The process-wide object outlives the application: close while Qt is still there.
    static const bool fermetureEnregistree = [] {
        qAddPostRoutine([] { BaseDonnees::instance().fermerBase(); });
        return true;
    }();
    (void)fermetureEnregistree;
    m_typeBase = code;
    m_base = base;
    m_serveur = serveur;
    m_module = module;
    m_compteur = 0;
    m_profondeur = 0;
    m_lotIntervalle = 0;
    m_lotEchoue = false;
    m_derniereErreur.clear();
    return true;
}

void BaseDonnees::fermerBase()
{
    if (!m_moteur) return;
    // What was not committed is not kept: a transaction left open is an unfinished piece of work.
    if (m_profondeur > 0) {
        QString e;
        m_moteur->annuler(e);
    }
    detacherInstructions();
    m_moteur->fermer();
    m_moteur.reset();
    m_typeBase.clear();
    m_base.clear();
    m_serveur.clear();
    m_profondeur = 0;
    m_lotIntervalle = 0;
    m_verrous.clear();
    m_verrousTenus.clear();
    ++m_generation;
}

bool BaseDonnees::estOuverte() const
{
    return m_moteur != nullptr;
}

bool BaseDonnees::creerBaseBureau(const QString &chemin, QString *erreur)
{
    auto echec = [&](const QString &message) {
        if (erreur) *erreur = message;
        return false;
    };
    if (chemin.trimmed().isEmpty())
        return echec(QStringLiteral("Aucun fichier de base de données n'est indiqué."));
    if (QFileInfo::exists(chemin))
        return echec(QStringLiteral("Le fichier « %1 » existe déjà.").arg(chemin));
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(chemin.toUtf8().constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    bool ok = rc == SQLITE_OK;
    QString message;
    if (ok) {
        // Writing the header makes the file a database even while it holds no table yet.
        char *err = nullptr;
        ok = sqlite3_exec(db,
                          "PRAGMA user_version = 0; CREATE TABLE vyk_init(x); DROP TABLE vyk_init;",
                          nullptr, nullptr, &err) == SQLITE_OK;
        if (!ok) message = QString::fromUtf8(err);
        sqlite3_free(err);
    } else {
        message = QString::fromUtf8(sqlite3_errmsg(db));
    }
    sqlite3_close(db);
    if (!ok)
        return echec(
            QStringLiteral("Impossible de créer le fichier « %1 » : %2").arg(chemin, message));
    return true;
}

const Dialecte &BaseDonnees::dialecte() const
{
    return Dialecte::pour(m_typeBase);
}

QString BaseDonnees::traduire(const QString &sql, bool numeroterParametres) const
{
    return traduireSql(sql, m_moteur ? m_moteur->cible() : Cible::Sqlite,
                       numeroterParametres && m_moteur && m_moteur->numeroteParametres());
}

bool BaseDonnees::verifierOuverte(const QString &sql)
{
    if (!m_moteur) {
        noterErreur(sql, PAS_OUVERTE);
        return false;
    }
    if (m_enLecture) {
        noterErreur(sql, messageLectureEnCours());
        return false;
    }
    return true;
}

// Values reach SQL text through the literal helper, which leaves a NUL in place: the engines
// read statements as C strings and would cut it there, so it is refused before any engine sees
// it. Other control characters are stored as they are (a soft line break pasted into a comment).
bool BaseDonnees::verifierTexte(const QString &sql)
{
    if (!sql.contains(QChar(u'\0'))) return true;
    noterErreur(sql, CARACTERE_REFUSE);
    return false;
}

bool BaseDonnees::isolerEchecs() const
{
    return m_moteur && m_profondeur > 0 && m_moteur->cible() != Cible::Sqlite;
}

void BaseDonnees::majIsolation()
{
    if (m_moteur) m_moteur->definirIsolation(isolerEchecs());
}

void BaseDonnees::noterErreur(const QString &sql, const QString &erreur)
{
    m_derniereErreur = erreur;
    if (m_observateur) m_observateur(sql, erreur);
}

void BaseDonnees::setObservateurErreurs(ObservateurErreurs observateur)
{
    m_observateur = std::move(observateur);
}

BaseDonnees::Discretion::Discretion(BaseDonnees &base)
    : m_bd(base), m_erreur(base.m_derniereErreur), m_observateur(std::move(base.m_observateur))
{
    base.m_observateur = {};
}

BaseDonnees::Discretion::~Discretion()
{
    m_bd.m_derniereErreur = m_erreur;
    m_bd.m_observateur = std::move(m_observateur);
}

void BaseDonnees::apresInstruction()
{
    ++m_compteur;
    // After a failed commit the batch keeps the rest in one transaction, rolled back at its end.
    if (m_lotIntervalle > 0 && !m_lotEchoue && m_profondeur == 1 &&
        ++m_lotDepuis >= m_lotIntervalle) {
        m_lotDepuis = 0;
        m_verrousTenus.clear();
        QString e;
        if (!validerOuAnnuler(e)) {
            noterErreur(QStringLiteral("COMMIT"), e);
            m_lotEchoue = true;
        }
        if (!m_moteur->debut(e)) {
            // No transaction on the engine any more: the counter says so too.
            noterErreur(QStringLiteral("BEGIN"), e);
            m_lotEchoue = true;
            m_profondeur = 0;
            m_lotIntervalle = 0;
            m_verrous.clear();
            majIsolation();
            return;
        }
        if (!m_verrous.isEmpty() && !prendreVerrou(m_verrous.join(QStringLiteral(", "))))
            m_lotEchoue = true;
    }
}

bool BaseDonnees::ExtraireRecords(const QString &sql, long &nb, Tableau &tableau, const QString &)
{
    nb = 0;
    tableau.vider();
    if (!verifierOuverte(sql) || !verifierTexte(sql)) return false;
    const QString t = traduire(sql);
    QString erreur;
    const bool ok = isolerEchecs() ? m_moteur->executerIsole(t, &tableau, nullptr, erreur)
                                   : m_moteur->executer(t, &tableau, nullptr, erreur);
    apresInstruction();
    if (!ok) {
        tableau.vider();
        noterErreur(sql, erreur);
        return false;
    }
    nb = tableau.nbLignes();
    return true;
}

bool BaseDonnees::parcourir(const QString &sql, const FonctionLigne &fonction)
{
    return parcourir(sql, {}, fonction);
}

bool BaseDonnees::parcourir(const QString &sql, const QVector<QVariant> &parametres,
                            const FonctionLigne &fonction)
{
    return lire(sql, parametres, fonction, false);
}

bool BaseDonnees::parcourirEnBloc(const QString &sql, const FonctionLigne &fonction)
{
    return lire(sql, {}, fonction, true);
}

bool BaseDonnees::lire(const QString &sql, const QVector<QVariant> &parametres,
                       const FonctionLigne &fonction, bool enBloc)
{
    if (!verifierOuverte(sql) || !verifierTexte(sql)) return false;
    const QString t = traduire(sql, !parametres.isEmpty());
    QString erreur;
    bool ok;
    {
        m_enLecture = true;
        const auto fin = qScopeGuard([this] { m_enLecture = false; });
        ok = enBloc ? m_moteur->parcourirEnBloc(t, parametres, fonction, erreur)
                    : m_moteur->parcourir(t, parametres, fonction, erreur);
    }
    apresInstruction();
    if (!ok) noterErreur(sql, erreur);
    return ok;
}

Tableau BaseDonnees::extraire(const QString &sql)
{
    long nb = 0;
    Tableau t;
    ExtraireRecords(sql, nb, t);
    return t;
}

QVariant BaseDonnees::valeur(const QString &sql)
{
    const Tableau t = extraire(sql);
    return t.estVide() || t.nbColonnes() == 0 ? QVariant() : t(0, 0);
}

bool BaseDonnees::Execute(const QString &sql, QString *message)
{
    m_lignesModifiees = 0;
    if (!verifierOuverte(sql) || !verifierTexte(sql)) {
        if (message) *message = m_derniereErreur;
        return false;
    }
    const QString t = traduire(sql);
    QString erreur;
    long long modifiees = 0;
    const bool ok = isolerEchecs() ? m_moteur->executerIsole(t, nullptr, &modifiees, erreur)
                                   : m_moteur->executer(t, nullptr, &modifiees, erreur);
    apresInstruction();
    if (!ok) {
        noterErreur(sql, erreur);
        if (message) *message = erreur;
        return false;
    }
    m_lignesModifiees = modifiees;
    return true;
}

bool BaseDonnees::ExecuteDDL(const QString &sql)
{
    return Execute(sql);
}

bool BaseDonnees::creerVue(const QString &nom, const QString &select)
{
    if (!verifierOuverte(nom) || !verifierTexte(select)) return false;
    QString erreur;
    const bool ok = m_moteur->creerVue(nom, traduire(select), erreur);
    apresInstruction();
    if (!ok)
        noterErreur(QStringLiteral("CREATE VIEW ") + nom + QStringLiteral(" AS ") + select, erreur);
    return ok;
}

bool BaseDonnees::renommerColonne(const QString &table, const QString &ancien,
                                  const QString &nouveau)
{
    return Execute(QStringLiteral("ALTER TABLE ") + table + QStringLiteral(" RENAME COLUMN ") +
                   ancien + QStringLiteral(" TO ") + nouveau);
}

bool BaseDonnees::debutTransaction()
{
    if (!verifierOuverte(QStringLiteral("BEGIN"))) return false;
    QString erreur;
    const bool ok = m_profondeur == 0
                        ? m_moteur->debut(erreur)
                        : m_moteur->pointSauvegarde(
                              QStringLiteral("vyk_t") + QString::number(m_profondeur), erreur);
    if (!ok) {
        noterErreur(QStringLiteral("BEGIN"), erreur);
        return false;
    }
    ++m_profondeur;
    majIsolation();
    return true;
}

bool BaseDonnees::finTransaction(bool annuler)
{
    if (m_enLecture) {
        noterErreur(QStringLiteral("COMMIT"), messageLectureEnCours());
        return false;
    }
    if (!m_moteur || m_profondeur == 0) {
        noterErreur(QStringLiteral("COMMIT"), QStringLiteral("Aucune transaction n'est ouverte."));
        return false;
    }
    --m_profondeur;
    QString erreur;
    bool ok;
    if (m_profondeur == 0) {
        ok = annuler ? m_moteur->annuler(erreur) : validerOuAnnuler(erreur);
        m_lotIntervalle = 0;
        m_verrous.clear();
        m_verrousTenus.clear();
    } else {
        const QString point = QStringLiteral("vyk_t") + QString::number(m_profondeur);
        QString ignoree;
        ok = annuler ? m_moteur->revenirAuPoint(point, erreur) : true;
        ok = m_moteur->libererPoint(point, annuler ? ignoree : erreur) && ok;
        finPointSauvegarde(annuler);
    }
    majIsolation();
    if (!ok) noterErreur(annuler ? QStringLiteral("ROLLBACK") : QStringLiteral("COMMIT"), erreur);
    return ok;
}

bool BaseDonnees::verrouiller(const QString &table)
{
    if (!m_moteur || m_profondeur == 0) {
        noterErreur(QStringLiteral("LOCK TABLE ") + table,
                    QStringLiteral("Aucune transaction n'est ouverte."));
        return false;
    }
    if (!m_verrous.contains(table, Qt::CaseInsensitive)) m_verrous << table;
    return m_verrousTenus.contains(table.toLower()) || prendreVerrou(table);
}

// A savepoint released hands its locks to the level around it; one rolled back gives them up.
void BaseDonnees::finPointSauvegarde(bool annule)
{
    for (auto it = m_verrousTenus.begin(); it != m_verrousTenus.end();) {
        if (it.value() <= m_profondeur) {
            ++it;
        } else if (annule) {
            it = m_verrousTenus.erase(it);
        } else {
            it.value() = m_profondeur;
            ++it;
        }
    }
}

// table may name several, separated by commas: a batch takes its locks back in one statement.
bool BaseDonnees::prendreVerrou(const QString &table)
{
    // The desktop file's write lock is taken by BEGIN IMMEDIATE already.
    if (m_moteur->cible() == Cible::Sqlite) return true;
    // Other workstations still read the table; their writes wait for the end of this transaction.
    const QString sql =
        QStringLiteral("LOCK TABLE ") + table + QStringLiteral(" IN EXCLUSIVE MODE");
    QString erreur;
    const bool ok = m_moteur->executer(sql, nullptr, nullptr, erreur);
    ++m_compteur; // not apresInstruction(): it is called from the batch's own commit
    if (!ok) {
        noterErreur(sql, erreur);
        return false;
    }
    for (const QString &t : table.split(QStringLiteral(", ")))
        m_verrousTenus.insert(t.toLower(), m_profondeur);
    return ok;
}

bool BaseDonnees::validerOuAnnuler(QString &erreur)
{
    if (m_moteur->valider(erreur)) return true;
    // A refused COMMIT (the file held by another program) leaves the engine's transaction open
    // on SQLite: end it, so that later writes do not join a transaction that will never commit.
    QString ignoree;
    if (m_moteur->transactionOuverte()) m_moteur->annuler(ignoree);
    return false;
}

void BaseDonnees::demarrerLot(int intervalle)
{
    m_lotIntervalle = intervalle;
    m_lotDepuis = 0;
    m_lotEchoue = false;
}

void BaseDonnees::arreterLot()
{
    m_lotIntervalle = 0;
}

void BaseDonnees::enregistrerParametresServeur(const QString &typeBase, const QString &serveur,
                                               const QString &base, const QString &utilisateur,
                                               const QString &motDePasse)
{
    m_parametresServeur = {typeBase, serveur, base, utilisateur, motDePasse};
}

InstructionPreparee BaseDonnees::preparer(const QString &sql)
{
    InstructionPreparee p;
    p.m_bd = this;
    p.m_sql = sql;
    p.m_generation = m_generation;
    if (!verifierOuverte(sql) || !verifierTexte(sql)) {
        p.m_erreur = m_derniereErreur;
        return p;
    }
    // Engine statements are shared through the cache: each InstructionPreparee keeps its own
    // values, so holders of the same text do not disturb each other.
    QString erreur;
    p.m_instruction = instructionEnCache(traduire(sql, true), erreur);
    if (!p.m_instruction) {
        p.m_erreur = erreur;
        noterErreur(sql, erreur);
    }
    return p;
}

std::shared_ptr<InstructionMoteur> BaseDonnees::instructionEnCache(const QString &sqlMoteur,
                                                                   QString &erreur)
{
    if (!m_moteur) {
        erreur = PAS_OUVERTE;
        return nullptr;
    }
    auto it = m_cache.find(sqlMoteur);
    if (it != m_cache.end()) return it.value();
    std::shared_ptr<InstructionMoteur> i = m_moteur->preparer(sqlMoteur, erreur);
    if (!i) return nullptr;
    if (m_cache.size() >= TAILLE_CACHE) m_cache.clear();
    m_cache.insert(sqlMoteur, i);
    m_instructions.push_back(i);
    return i;
}

bool BaseDonnees::executerPreparee(InstructionPreparee &p, Tableau *resultat)
{
    p.m_modifiees = 0;
    if (m_enLecture) {
        p.m_erreur = messageLectureEnCours();
        noterErreur(p.m_sql, p.m_erreur);
        return false;
    }
    if (!p.m_instruction || p.m_generation != m_generation || !m_moteur) {
        p.m_erreur =
            p.m_instruction ? PAS_OUVERTE : (p.m_erreur.isEmpty() ? PAS_OUVERTE : p.m_erreur);
        noterErreur(p.m_sql, p.m_erreur);
        return false;
    }
    QString erreur;
    long long modifiees = 0;
    const bool ok = p.m_instruction->executer(p.m_valeurs, resultat, &modifiees, erreur);
    apresInstruction();
    if (!ok) {
        p.m_erreur = erreur;
        noterErreur(p.m_sql, erreur);
        return false;
    }
    p.m_erreur.clear();
    p.m_modifiees = modifiees;
    m_lignesModifiees = modifiees;
    return true;
}

void BaseDonnees::detacherInstructions()
{
    m_cache.clear();
    for (const auto &w : m_instructions)
        if (auto i = w.lock()) i->detacher();
    m_instructions.clear();
}

QStringList BaseDonnees::tables()
{
    return m_moteur ? m_moteur->tables() : QStringList();
}

bool BaseDonnees::tableExiste(const QString &table)
{
    return m_moteur && m_moteur->tableExiste(table);
}

QStringList BaseDonnees::colonnes(const QString &table)
{
    return m_moteur ? m_moteur->colonnes(table) : QStringList();
}

bool BaseDonnees::colonneExiste(const QString &table, const QString &colonne)
{
    return colonnes(table).contains(colonne, Qt::CaseInsensitive);
}

bool BaseDonnees::indexExiste(const QString &index)
{
    return m_moteur && m_moteur->index().contains(index, Qt::CaseInsensitive);
}

bool BaseDonnees::vueExiste(const QString &vue)
{
    return m_moteur && m_moteur->vues().contains(vue, Qt::CaseInsensitive);
}

// ---- InstructionPreparee

void InstructionPreparee::lier(int position, const QVariant &valeur)
{
    if (position >= m_valeurs.size()) m_valeurs.resize(position + 1);
    m_valeurs[position] = valeur;
}

bool InstructionPreparee::executer()
{
    if (!m_bd) {
        m_erreur = PAS_OUVERTE;
        return false;
    }
    return m_bd->executerPreparee(*this, nullptr);
}

bool InstructionPreparee::executer(const QVector<QVariant> &valeurs)
{
    m_valeurs = valeurs;
    return executer();
}

bool InstructionPreparee::extraire(Tableau &resultat, const QVector<QVariant> &valeurs)
{
    resultat.vider();
    m_valeurs = valeurs;
    if (!m_bd) {
        m_erreur = PAS_OUVERTE;
        return false;
    }
    return m_bd->executerPreparee(*this, &resultat);
}

} // namespace vyk
