// The desktop database file: a SQLite database opened through Qt's QSQLITE driver, then used
// through the sqlite3 API on the driver's handle (types of declared columns, speed, functions).

#include "db/FonctionsSqlite.h"
#include "db/LiaisonsSqlite.h"
#include "db/Moteur.h"
#include "db/Outils.h"
#include "db/RaisonsMoteur.h"
#include "db/Sql.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QUuid>

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vyk {

namespace {

// Longest integrity check at opening, in milliseconds.
constexpr qint64 DUREE_CONTROLE_MS = 3000;

TypeValeur typeDeclare(const char *declare)
{
    if (!declare) return TypeValeur::Inconnu;
    const QByteArray d = QByteArray(declare).toUpper();
    if (d.contains("DATE") || d.contains("TIME")) return TypeValeur::DateHeure;
    if (d.contains("BOOL") || d == "YESNO" || d == "BIT") return TypeValeur::Booleen;
    if (d.contains("INT")) return TypeValeur::Entier;
    if (d.contains("CHAR") || d.contains("TEXT") || d.contains("CLOB") || d.contains("MEMO"))
        return TypeValeur::Texte;
    if (d.contains("DOUB") || d.contains("REAL") || d.contains("FLOA") || d.contains("NUM") ||
        d.contains("DEC"))
        return TypeValeur::Reel;
    if (d.contains("BLOB")) return TypeValeur::Binaire;
    return TypeValeur::Inconnu;
}

QVariant valeurColonne(sqlite3_stmt *st, int c, TypeValeur type, DatesRepetees &dates)
{
    switch (sqlite3_column_type(st, c)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        if (type == TypeValeur::Booleen) return QVariant(sqlite3_column_int64(st, c) != 0);
        if (type == TypeValeur::Reel) return QVariant(sqlite3_column_double(st, c));
        return QVariant(qlonglong(sqlite3_column_int64(st, c)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(st, c));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(st, c)),
                                   sqlite3_column_bytes(st, c)));
    default: {
        const auto *t = reinterpret_cast<const char *>(sqlite3_column_text(st, c));
        const int n = sqlite3_column_bytes(st, c);
        // Expressions have no declared type: a value in the stored date form is a date.
        if (type == TypeValeur::DateHeure ||
            (type == TypeValeur::Inconnu && (n == 19 || n == 10))) {
            const QVariant &d = dates.lire(c, t, n);
            if (d.isValid()) return d;
        }
        return QVariant(QString::fromUtf8(t, n));
    }
    }
}

QString erreurSqlite(sqlite3 *db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

// Steps a prepared statement to its end, gathering its rows when asked.
bool derouler(sqlite3 *db, sqlite3_stmt *st, Tableau *resultat, long long *modifiees,
              QString &erreur)
{
    const int nbCol = sqlite3_column_count(st);
    QVector<TypeValeur> types;
    if (resultat && nbCol > 0) {
        QStringList noms;
        types.reserve(nbCol);
        for (int c = 0; c < nbCol; ++c) {
            noms << QString::fromUtf8(sqlite3_column_name(st, c));
            types << typeDeclare(sqlite3_column_decltype(st, c));
        }
        resultat->definirColonnes(noms, types);
    }
    DatesRepetees dates(resultat ? nbCol : 0);
    for (;;) {
        const int rc = sqlite3_step(st);
        if (rc == SQLITE_ROW) {
            if (resultat && nbCol > 0)
                for (int c = 0; c < nbCol; ++c)
                    resultat->ajouterCellule(valeurColonne(st, c, types[c], dates));
            continue;
        }
        if (rc == SQLITE_DONE) break;
        erreur = erreurSqlite(db);
        sqlite3_reset(st);
        return false;
    }
    if (modifiees) *modifiees = sqlite3_changes64(db);
    sqlite3_reset(st);
    return true;
}

// The current row of a statement being stepped, read from SQLite's own buffers.
class LigneSqlite : public Ligne
{
  public:
    explicit LigneSqlite(sqlite3_stmt *st)
        : m_st(st), m_dates(sqlite3_column_count(st)), m_tampons(sqlite3_column_count(st))
    {
        for (int c = 0; c < m_tampons.size(); ++c) {
            m_colonnes << QString::fromUtf8(sqlite3_column_name(st, c));
            m_types << typeDeclare(sqlite3_column_decltype(st, c));
        }
    }
    void suivante() { ++m_numero; }

    bool estNul(int c) const override { return sqlite3_column_type(m_st, c) == SQLITE_NULL; }
    qint64 entier(int c) const override
    {
        switch (sqlite3_column_type(m_st, c)) {
        case SQLITE_INTEGER:
            return sqlite3_column_int64(m_st, c);
        case SQLITE_FLOAT:
            return entierReel(sqlite3_column_double(m_st, c));
        case SQLITE_NULL:
            return 0;
        default:
            return entierTexte(octets(c));
        }
    }
    double reel(int c) const override
    {
        switch (sqlite3_column_type(m_st, c)) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return sqlite3_column_double(m_st, c);
        case SQLITE_NULL:
            return 0;
        default:
            return reelTexte(octets(c));
        }
    }
    QString texte(int c) const override
    {
        const int genre = sqlite3_column_type(m_st, c);
        const TypeValeur type = m_types[c];
        if (genre == SQLITE_TEXT) {
            const QByteArrayView t = octets(c);
            if (dateCandidate(c))
                if (const QString *d = m_dates.texte(c, t.data(), int(t.size()))) return *d;
            return QString::fromUtf8(t.data(), t.size());
        }
        if (genre == SQLITE_INTEGER && type != TypeValeur::Booleen && type != TypeValeur::Reel)
            return QString::number(sqlite3_column_int64(m_st, c));
        return texteValeur(valeur(c));
    }
    QByteArrayView utf8(int c) const override
    {
        const int genre = sqlite3_column_type(m_st, c);
        if ((genre == SQLITE_TEXT && !dateCandidate(c)) || genre == SQLITE_BLOB) return octets(c);
        if (genre == SQLITE_NULL) return {};
        // Whole numbers' digits written in place: the text texte() makes, without making it.
        const TypeValeur type = m_types[c];
        if (genre == SQLITE_INTEGER && type != TypeValeur::Booleen && type != TypeValeur::Reel)
            return chiffres(c, sqlite3_column_int64(m_st, c));
        if (genre == SQLITE_FLOAT || (genre == SQLITE_INTEGER && type == TypeValeur::Reel)) {
            const double d = sqlite3_column_double(m_st, c);
            // texteValeur writes a whole real below 1e15 as the integer.
            if (d == std::trunc(d) && std::abs(d) < 1e15) return chiffres(c, qint64(d));
        }
        m_tampons[c] = texte(c).toUtf8();
        return m_tampons[c];
    }
    QDateTime date(int c) const override
    {
        if (sqlite3_column_type(m_st, c) != SQLITE_TEXT) return {};
        const QByteArrayView t = octets(c);
        return m_dates.lire(c, t.data(), int(t.size())).toDateTime();
    }
    QVariant valeur(int c) const override { return valeurColonne(m_st, c, m_types[c], m_dates); }
    bool jourHeure(int c, QDate &jour, QTime &heure) const override
    {
        if (sqlite3_column_type(m_st, c) != SQLITE_TEXT) return false;
        const QByteArrayView t = octets(c);
        return partiesIso(t.data(), int(t.size()), jour, heure);
    }

  private:
    QByteArrayView chiffres(int c, qint64 n) const
    {
        m_tampons[c].resize(24);
        char *debut = m_tampons[c].data();
        return {debut, std::to_chars(debut, debut + 24, n).ptr - debut};
    }
    QByteArrayView octets(int c) const
    {
        const auto *t = reinterpret_cast<const char *>(sqlite3_column_text(m_st, c));
        return {t, sqlite3_column_bytes(m_st, c)};
    }
    // A text that ExtraireRecords would read as a date (see valeurColonne).
    bool dateCandidate(int c) const
    {
        const int n = sqlite3_column_bytes(m_st, c);
        return m_types[c] == TypeValeur::DateHeure ||
               (m_types[c] == TypeValeur::Inconnu && (n == 19 || n == 10));
    }

    sqlite3_stmt *m_st;
    QVector<TypeValeur> m_types;
    mutable DatesRepetees m_dates;
    mutable QVector<QByteArray> m_tampons;
};

class InstructionSqlite : public InstructionMoteur
{
  public:
    InstructionSqlite(sqlite3 *db, sqlite3_stmt *st) : m_db(db), m_st(st), m_liaisons(st) {}
    ~InstructionSqlite() override { detacher(); }
    void detacher() override
    {
        sqlite3_finalize(m_st);
        m_st = nullptr;
    }
    int nbParametres() const override { return m_st ? sqlite3_bind_parameter_count(m_st) : 0; }
    bool executer(const QVector<QVariant> &parametres, Tableau *resultat, long long *modifiees,
                  QString &erreur) override
    {
        if (!m_st) {
            erreur = messageBaseFermee();
            return false;
        }
        if (m_liaisons.lier(parametres) != SQLITE_OK) {
            erreur = erreurSqlite(m_db);
            return false;
        }
        return derouler(m_db, m_st, resultat, modifiees, erreur);
    }

  private:
    sqlite3 *m_db;
    sqlite3_stmt *m_st;
    LiaisonsSqlite m_liaisons;
};

class MoteurSqlite : public Moteur
{
  public:
    ~MoteurSqlite() override { fermer(); }

    Cible cible() const override { return Cible::Sqlite; }

    bool ouvrir(const ParametresOuverture &p, QString &erreur) override
    {
        const QFileInfo fichier(p.base);
        if (p.base.trimmed().isEmpty()) {
            erreur = QStringLiteral("Aucun fichier de base de données n'est indiqué.");
            return false;
        }
        if (!fichier.exists()) {
            erreur =
                QStringLiteral("Le fichier de base de données « %1 » n'existe pas.").arg(p.base);
            return false;
        }
        if (fichier.isDir()) {
            erreur = QStringLiteral("« %1 » est un dossier, pas un fichier de base de données.")
                         .arg(p.base);
            return false;
        }
        if (!fichier.isFile()) {
            erreur = QStringLiteral("« %1 » n'est pas un fichier ordinaire (périphérique, tube ou "
                                    "socket) : ce ne peut "
                                    "pas être une base de données.")
                         .arg(p.base);
            return false;
        }
        m_nom = QStringLiteral("vyk_sqlite_") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_nom);
            db.setDatabaseName(fichier.absoluteFilePath());
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
            if (!db.open()) {
                erreur = QStringLiteral("Impossible d'ouvrir le fichier « %1 » : %2")
                             .arg(p.base, db.lastError().text());
                db = QSqlDatabase();
                fermer();
                return false;
            }
            const QVariant h = db.driver()->handle();
            m_db = h.isValid() ? *static_cast<sqlite3 *const *>(h.constData()) : nullptr;
        }
        if (!m_db || !enregistrerFonctionsSqlite(m_db)) {
            erreur = QStringLiteral("Le moteur de la base de bureau n'a pas pu être préparé.");
            fermer();
            return false;
        }
        // A file that is not a database fails here rather than at the first screen.
        QString e;
        if (!executer(QStringLiteral("SELECT count(*) FROM sqlite_master"), nullptr, nullptr, e)) {
            erreur =
                e.contains(QLatin1String("locked"), Qt::CaseInsensitive)
                    ? QStringLiteral("Le fichier « %1 » est utilisé par un autre programme : rien "
                                     "n'a été écrit.")
                          .arg(p.base)
                    : QStringLiteral("Le fichier « %1 » n'est pas une base de données VYK : %2.")
                          .arg(p.base, raisonMoteur(e));
            fermer();
            return false;
        }
        if (!verifierIntegrite(p.base, erreur)) {
            fermer();
            return false;
        }
        return true;
    }

    // A damaged file is refused before anything is written to it. The check stops after a few
    // seconds on a large file: what it could not reach opens as before.
    bool verifierIntegrite(const QString &base, QString &erreur)
    {
        QElapsedTimer chrono;
        chrono.start();
        sqlite3_progress_handler(
            m_db, 10000,
            [](void *c) {
                return static_cast<QElapsedTimer *>(c)->elapsed() > DUREE_CONTROLE_MS ? 1 : 0;
            },
            &chrono);
        Tableau t;
        QString e;
        const bool lu = executer(QStringLiteral("PRAGMA quick_check(5)"), &t, nullptr, e);
        sqlite3_progress_handler(m_db, 0, nullptr, nullptr);
        if (!lu && !e.contains(QLatin1String("interrupt"), Qt::CaseInsensitive)) {
            erreur = QStringLiteral("Le fichier « %1 » n'a pas pu être contrôlé : %2.")
                         .arg(base, raisonMoteur(e));
            return false;
        }
        if (!lu || t.estVide() || t.texte(0, 0) == QLatin1String("ok")) return true;
        QStringList defauts;
        for (int i = 0; i < t.nbLignes(); ++i)
            defauts << t.texte(i, 0);
        erreur =
            QStringLiteral(
                "Le fichier « %1 » est endommagé : rien n'y sera écrit. Restaurez une sauvegarde "
                "ou réparez-le avant de l'ouvrir (contrôle d'intégrité : %2).")
                .arg(base, defauts.join(QStringLiteral(" ; ")).left(300));
        return false;
    }

    void fermer() override
    {
        m_controleSchema.reset();
        m_db = nullptr;
        fermerConnexionQt(m_nom);
    }

    bool executer(const QString &sql, Tableau *resultat, long long *modifiees,
                  QString &erreur) override
    {
        if (!m_db) {
            erreur = messageBaseFermee();
            return false;
        }
        static const QRegularExpression alterColonne(
            QStringLiteral(
                R"(^\s*ALTER\s+TABLE\s+("[^"]+"|\S+)\s+ALTER\s+(?:COLUMN\s+)?("[^"]+"|\S+)\s+(.+?)\s*;?\s*$)"),
            QRegularExpression::CaseInsensitiveOption |
                QRegularExpression::DotMatchesEverythingOption);
        if (sql.size() < 400 && sql.contains(QLatin1String("ALTER"), Qt::CaseInsensitive)) {
            const auto m = alterColonne.match(sql);
            if (m.hasMatch())
                return changerTypeColonne(m.captured(1), m.captured(2), m.captured(3), erreur);
        }
        const QByteArray texte = sql.toUtf8();
        const char *debut = texte.constData();
        const char *fin = debut + texte.size();
        bool aucune = true;
        while (debut < fin) {
            sqlite3_stmt *st = nullptr;
            const char *reste = nullptr;
            if (sqlite3_prepare_v2(m_db, debut, int(fin - debut), &st, &reste) != SQLITE_OK) {
                erreur = erreurSqlite(m_db);
                return false;
            }
            debut = reste;
            if (!st) continue; // blank or comment
            aucune = false;
            const bool ok = derouler(m_db, st, sqlite3_column_count(st) > 0 ? resultat : nullptr,
                                     modifiees, erreur);
            sqlite3_finalize(st);
            if (!ok) return false;
        }
        if (aucune && modifiees) *modifiees = 0;
        return true;
    }

    bool parcourir(const QString &sql, const QVector<QVariant> &parametres,
                   const FonctionLigne &fonction, QString &erreur) override
    {
        if (!m_db) {
            erreur = messageBaseFermee();
            return false;
        }
        const QByteArray texte = sql.toUtf8();
        const char *reste = nullptr;
        sqlite3_stmt *st = nullptr;
        const int rc = sqlite3_prepare_v2(m_db, texte.constData(), int(texte.size()), &st, &reste);
        std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> garde(st, sqlite3_finalize);
        if (rc != SQLITE_OK || !st) {
            erreur = rc != SQLITE_OK ? erreurSqlite(m_db) : QStringLiteral("Instruction vide.");
            return false;
        }
        if (!seulementBlancs(reste, texte.constData() + texte.size())) {
            erreur = QStringLiteral("Une lecture pas à pas ne porte que sur une instruction.");
            return false;
        }
        LiaisonsSqlite liaisons(st);
        if (liaisons.lier(parametres) != SQLITE_OK) {
            erreur = erreurSqlite(m_db);
            return false;
        }
        LigneSqlite ligne(st);
        for (;;) {
            const int pas = sqlite3_step(st);
            if (pas == SQLITE_DONE) return true;
            if (pas != SQLITE_ROW) {
                erreur = erreurSqlite(m_db);
                return false;
            }
            if (!fonction(ligne)) return true;
            ligne.suivante();
        }
    }

    // Whether what follows a statement holds no other one (blanks, semicolons, comments).
    bool seulementBlancs(const char *debut, const char *fin)
    {
        while (debut && debut < fin) {
            sqlite3_stmt *suivante = nullptr;
            const char *reste = nullptr;
            if (sqlite3_prepare_v2(m_db, debut, int(fin - debut), &suivante, &reste) != SQLITE_OK)
                return false;
            const bool vide = suivante == nullptr;
            sqlite3_finalize(suivante);
            if (!vide) return false;
            if (reste == debut) break;
            debut = reste;
        }
        return true;
    }

    std::unique_ptr<InstructionMoteur> preparer(const QString &sql, QString &erreur) override
    {
        if (!m_db) {
            erreur = messageBaseFermee();
            return nullptr;
        }
        const QByteArray texte = sql.toUtf8();
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v3(m_db, texte.constData(), int(texte.size()),
                               SQLITE_PREPARE_PERSISTENT, &st, nullptr) != SQLITE_OK ||
            !st) {
            erreur = st ? erreurSqlite(m_db) : (m_db ? erreurSqlite(m_db) : QString());
            if (erreur.isEmpty() || erreur == QLatin1String("not an error"))
                erreur = QStringLiteral("Instruction vide.");
            sqlite3_finalize(st);
            return nullptr;
        }
        return std::make_unique<InstructionSqlite>(m_db, st);
    }

    // The write lock is taken at the start: what a transaction reads to decide its writes (the
    // largest code, the existing rows) cannot change under it, and two writers never meet halfway.
    bool debut(QString &erreur) override
    {
        return executer(QStringLiteral("BEGIN IMMEDIATE"), nullptr, nullptr, erreur);
    }
    bool transactionOuverte() const override { return m_db && !sqlite3_get_autocommit(m_db); }

    QString colonneIdentite() const override { return QStringLiteral("rowid"); }
    QVariant derniereIdentiteInseree() override
    {
        return m_db ? QVariant(qlonglong(sqlite3_last_insert_rowid(m_db))) : QVariant();
    }

    QStringList tables() override { return noms("table"); }
    bool tableExiste(const QString &table) override
    {
        if (!m_db) return false;
        // A plain ASCII name (every name this program makes) is looked up in the connection's
        // schema, as SQLite itself matches names: no scan of the catalogue per call, which an
        // import makes for every station. The schema is first brought up to date, so that a
        // table another program created or dropped is seen.
        const bool ascii =
            std::all_of(table.begin(), table.end(), [](QChar c) { return c.unicode() < 0x80; });
        if (ascii && !table.isEmpty() && controlerSchema()) {
            if (table.startsWith(QLatin1String("sqlite"), Qt::CaseInsensitive)) return false;
            return sqlite3_table_column_metadata(m_db, "main", table.toLatin1().constData(),
                                                 nullptr, nullptr, nullptr, nullptr, nullptr,
                                                 nullptr) == SQLITE_OK;
        }
        Tableau t;
        QString e;
        return executer(QStringLiteral(
                            "SELECT 1 FROM sqlite_master WHERE type='table' AND name NOT LIKE "
                            "'sqlite%' AND lower(name)=lower(") +
                            sqlTexte(table) + u')',
                        &t, nullptr, e) &&
               t.nbLignes() > 0;
    }
    QStringList vues() override { return noms("view"); }
    QStringList index() override { return noms("index"); }

    QStringList colonnes(const QString &table) override
    {
        Tableau t;
        QString e;
        QStringList r;
        if (!executer(QStringLiteral("SELECT name FROM pragma_table_info('%1')")
                          .arg(QString(table).replace(u'\'', QStringLiteral("''"))),
                      &t, nullptr, e))
            return r;
        for (int i = 0; i < t.nbLignes(); ++i)
            r << t(i, 0).toString();
        return r;
    }

    bool creerVue(const QString &nom, const QString &select, QString &erreur) override
    {
        // SQLite has no CREATE OR REPLACE VIEW.
        QString ignoree;
        executer(QStringLiteral("DROP VIEW IF EXISTS ") + nom, nullptr, nullptr, ignoree);
        return executer(QStringLiteral("CREATE VIEW ") + nom + QStringLiteral(" AS ") + select,
                        nullptr, nullptr, erreur);
    }

  private:
    // Reads the catalogue's version: a schema changed by another connection is read again.
    bool controlerSchema()
    {
        if (!m_controleSchema) {
            sqlite3_stmt *st = nullptr;
            if (sqlite3_prepare_v3(m_db, "SELECT 1 FROM sqlite_master LIMIT 0", -1,
                                   SQLITE_PREPARE_PERSISTENT, &st, nullptr) != SQLITE_OK) {
                sqlite3_finalize(st);
                return false;
            }
            m_controleSchema.reset(st);
        }
        const int rc = sqlite3_step(m_controleSchema.get());
        sqlite3_reset(m_controleSchema.get());
        return rc == SQLITE_DONE;
    }

    QStringList noms(const char *type)
    {
        Tableau t;
        QString e;
        QStringList r;
        if (!executer(QStringLiteral("SELECT name FROM sqlite_master WHERE type='%1' AND name NOT "
                                     "LIKE 'sqlite%' ORDER BY name")
                          .arg(QLatin1String(type)),
                      &t, nullptr, e))
            return r;
        for (int i = 0; i < t.nbLignes(); ++i)
            r << t(i, 0).toString();
        return r;
    }

    static QString sansGuillemets(QString n)
    {
        if (n.size() >= 2 && n.front() == u'"' && n.back() == u'"')
            n = n.mid(1, n.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
        return n;
    }

    // SQLite cannot change a column's type: the table is rebuilt with the new declared type,
    // its rows and indexes kept, inside a savepoint so that a failure leaves it untouched.
    bool changerTypeColonne(const QString &tableBrut, const QString &colonneBrut,
                            const QString &type, QString &erreur)
    {
        const QString table = sansGuillemets(tableBrut);
        const QString colonne = sansGuillemets(colonneBrut);
        auto quote = [](const QString &n) {
            return u'"' + QString(n).replace(u'"', QStringLiteral("\"\"")) + u'"';
        };
        const QString tableLitt =
            u'\'' + QString(table).replace(u'\'', QStringLiteral("''")) + u'\'';
        Tableau info;
        if (!executer(
                QStringLiteral(
                    "SELECT name, type, \"notnull\", dflt_value, pk FROM pragma_table_info(") +
                    tableLitt + u')',
                &info, nullptr, erreur))
            return false;
        if (info.estVide()) {
            erreur = QStringLiteral("no such table: ") + table;
            return false;
        }
        Tableau sqlTable;
        executer(QStringLiteral("SELECT sql FROM sqlite_master WHERE type='table' AND name=") +
                     tableLitt + QStringLiteral(" COLLATE NOCASE"),
                 &sqlTable, nullptr, erreur);
        const bool autoIncrement =
            !sqlTable.estVide() &&
            sqlTable.texte(0, 0).contains(QLatin1String("AUTOINCREMENT"), Qt::CaseInsensitive);
        QStringList definitions, noms;
        bool trouvee = false;
        for (int i = 0; i < info.nbLignes(); ++i) {
            const QString nom = info.texte(i, 0);
            QString def = quote(nom) + u' ';
            if (nom.compare(colonne, Qt::CaseInsensitive) == 0) {
                def += type;
                trouvee = true;
            } else {
                def += info.texte(i, 1);
                if (info(i, 4).toInt() > 0)
                    def += autoIncrement ? QStringLiteral(" PRIMARY KEY AUTOINCREMENT")
                                         : QStringLiteral(" PRIMARY KEY");
            }
            if (info(i, 2).toInt() != 0) def += QStringLiteral(" NOT NULL");
            if (!info(i, 3).isNull()) def += QStringLiteral(" DEFAULT ") + info.texte(i, 3);
            definitions << def;
            noms << quote(nom);
        }
        if (!trouvee) {
            erreur = QStringLiteral("no such column: ") + colonne;
            return false;
        }
        Tableau index;
        executer(QStringLiteral("SELECT sql FROM sqlite_master WHERE type='index' AND sql IS NOT "
                                "NULL AND tbl_name=") +
                     tableLitt + QStringLiteral(" COLLATE NOCASE"),
                 &index, nullptr, erreur);
        const QString temporaire = QStringLiteral("vyk_reconstruction");
        QString ignoree;
        if (!pointSauvegarde(QStringLiteral("vyk_alter"), erreur)) return false;
        QStringList etapes = {
            QStringLiteral("DROP TABLE IF EXISTS ") + temporaire,
            QStringLiteral("CREATE TABLE ") + temporaire + QStringLiteral(" (") +
                definitions.join(QStringLiteral(", ")) + u')',
            QStringLiteral("INSERT INTO ") + temporaire + QStringLiteral(" (") +
                noms.join(QStringLiteral(", ")) + QStringLiteral(") SELECT ") +
                noms.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") + quote(table),
            QStringLiteral("DROP TABLE ") + quote(table),
            QStringLiteral("PRAGMA legacy_alter_table=ON"),
            QStringLiteral("ALTER TABLE ") + temporaire + QStringLiteral(" RENAME TO ") +
                quote(table),
            QStringLiteral("PRAGMA legacy_alter_table=OFF"),
        };
        for (int i = 0; i < index.nbLignes(); ++i)
            etapes << index.texte(i, 0);
        for (const QString &etape : etapes) {
            if (!executer(etape, nullptr, nullptr, erreur)) {
                executer(QStringLiteral("PRAGMA legacy_alter_table=OFF"), nullptr, nullptr,
                         ignoree);
                revenirAuPoint(QStringLiteral("vyk_alter"), ignoree);
                libererPoint(QStringLiteral("vyk_alter"), ignoree);
                return false;
            }
        }
        return libererPoint(QStringLiteral("vyk_alter"), erreur);
    }

    QString m_nom;
    sqlite3 *m_db = nullptr;
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> m_controleSchema{nullptr,
                                                                            sqlite3_finalize};
};

} // namespace

std::unique_ptr<Moteur> creerMoteurSqlite()
{
    return std::make_unique<MoteurSqlite>();
}

} // namespace vyk
