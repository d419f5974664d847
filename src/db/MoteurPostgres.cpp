// PostgreSQL: connection opened through Qt's QPSQL driver, statements sent with libpq on the
// driver's handle (typed results, savepoint isolation in one round trip, COPY for bulk rows).

#include "db/Moteur.h"
#include "db/Outils.h"
#include "db/Sql.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QUuid>

#include <libpq-fe.h>

namespace vyk {

namespace {

const char *const SAUVEGARDE = "vyk_isolement";

TypeValeur typeOid(Oid oid)
{
    switch (oid) {
    case 16:
        return TypeValeur::Booleen;
    case 20:
    case 21:
    case 23:
    case 26:
        return TypeValeur::Entier;
    case 700:
    case 701:
    case 1700:
        return TypeValeur::Reel;
    case 1082:
    case 1083:
    case 1114:
    case 1184:
        return TypeValeur::DateHeure;
    case 17:
        return TypeValeur::Binaire;
    default:
        return TypeValeur::Texte;
    }
}

QVariant valeurTexte(const char *t, int n, Oid oid)
{
    switch (oid) {
    case 16:
        return QVariant(n > 0 && t[0] == 't');
    case 20:
    case 21:
    case 23:
    case 26:
        return QVariant(QByteArray::fromRawData(t, n).toLongLong());
    case 700:
    case 701:
    case 1700: {
        bool ok = false;
        const double d = QByteArray::fromRawData(t, n).toDouble(&ok);
        return ok ? QVariant(d) : QVariant(QString::fromUtf8(t, n));
    }
    case 1082:
    case 1114:
    case 1184: {
        // DateStyle ISO: "YYYY-MM-DD[ HH:MM:SS[.ffffff]][+TZ]"; the wall-clock time is kept.
        const QDateTime d = lireDate(QString::fromLatin1(t, std::min(n, 19)));
        return d.isValid() ? QVariant(d) : QVariant(QString::fromUtf8(t, n));
    }
    case 1083: {
        const QTime h =
            QTime::fromString(QString::fromLatin1(t, std::min(n, 8)), QStringLiteral("HH:mm:ss"));
        return h.isValid() ? QVariant(QDateTime(QDate(1899, 12, 30), h))
                           : QVariant(QString::fromUtf8(t, n));
    }
    case 17: {
        if (n >= 2 && t[0] == '\\' && t[1] == 'x')
            return QVariant(QByteArray::fromHex(QByteArray(t + 2, n - 2)));
        return QVariant(QByteArray(t, n));
    }
    default:
        return QVariant(QString::fromUtf8(t, n));
    }
}

// Text of a parameter as the server reads it; a null QByteArray is SQL NULL.
QByteArray texteParametre(const QVariant &v)
{
    if (v.isNull() || !v.isValid()) return {};
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? QByteArrayLiteral("t") : QByteArrayLiteral("f");
    case QMetaType::Double:
    case QMetaType::Float:
        return QByteArray::number(v.toDouble(), 'g', 17);
    case QMetaType::QDateTime:
        return texteIso(v.toDateTime());
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("yyyy-MM-dd")).toUtf8();
    case QMetaType::QByteArray:
        return QByteArrayLiteral("\\x") + v.toByteArray().toHex();
    default: {
        QByteArray b = v.toString().toUtf8();
        if (b.isNull()) b = QByteArray("");
        return b;
    }
    }
}

struct ResultatPg
{
    explicit ResultatPg(PGresult *r = nullptr) : r(r) {}
    ~ResultatPg() { PQclear(r); }
    ResultatPg(const ResultatPg &) = delete;
    ResultatPg &operator=(const ResultatPg &) = delete;
    ResultatPg(ResultatPg &&o) noexcept : r(o.r) { o.r = nullptr; }
    PGresult *r;
};

QString erreurResultat(PGresult *r, PGconn *c)
{
    const char *m = r ? PQresultErrorMessage(r) : nullptr;
    QString t = QString::fromUtf8(m && *m ? m : PQerrorMessage(c)).trimmed();
    return t.isEmpty() ? QStringLiteral("Erreur inconnue du serveur PostgreSQL.") : t;
}

void lireResultat(PGresult *r, Tableau &t)
{
    const int nbCol = PQnfields(r);
    const int nbLig = PQntuples(r);
    QStringList noms;
    QVector<TypeValeur> types;
    QVector<Oid> oids;
    for (int c = 0; c < nbCol; ++c) {
        noms << QString::fromUtf8(PQfname(r, c));
        oids << PQftype(r, c);
        types << typeOid(oids.back());
    }
    t.definirColonnes(noms, types);
    t.reserver(nbLig);
    DatesRepetees dates(nbCol);
    for (int l = 0; l < nbLig; ++l)
        for (int c = 0; c < nbCol; ++c) {
            if (PQgetisnull(r, l, c)) {
                t.ajouterCellule({});
                continue;
            }
            const char *texte = PQgetvalue(r, l, c);
            const int n = PQgetlength(r, l, c);
            // DateStyle ISO: "YYYY-MM-DD[ HH:MM:SS[.ffffff]][+TZ]"; the wall-clock time is kept.
            if (oids[c] == 1082 || oids[c] == 1114 || oids[c] == 1184) {
                const QVariant &d = dates.lire(c, texte, std::min(n, 19));
                if (d.isValid()) {
                    t.ajouterCellule(d);
                    continue;
                }
            }
            t.ajouterCellule(valeurTexte(texte, n, oids[c]));
        }
}

long long lignesTouchees(PGresult *r)
{
    const char *n = PQcmdTuples(r);
    return n && *n ? QByteArray(n).toLongLong() : 0;
}

// Reads the results of a pipeline or a multi-statement query; the first failure wins.
struct Collecte
{
    bool ok = true;
    QString erreur;
    long long modifiees = 0;
    bool aDesLignes = false;
};

class MoteurPostgres;

class InstructionPostgres : public InstructionMoteur
{
  public:
    InstructionPostgres(MoteurPostgres *moteur, QByteArray nom, int nbParams)
        : m_moteur(moteur), m_nom(std::move(nom)), m_nbParams(nbParams)
    {
    }
    ~InstructionPostgres() override;
    void detacher() override { m_moteur = nullptr; }
    int nbParametres() const override { return m_nbParams; }
    bool executer(const QVector<QVariant> &parametres, Tableau *resultat, long long *modifiees,
                  QString &erreur) override;

  private:
    MoteurPostgres *m_moteur;
    QByteArray m_nom;
    int m_nbParams;
};

class MoteurPostgres : public Moteur
{
  public:
    ~MoteurPostgres() override { fermer(); }
    Cible cible() const override { return Cible::Postgres; }
    bool numeroteParametres() const override { return true; }
    PGconn *connexion() const { return m_c; }

    bool ouvrir(const ParametresOuverture &p, QString &erreur) override
    {
        m_nom = QStringLiteral("vyk_pg_") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_nom);
            db.setHostName(p.serveur);
            bool ok = false;
            const int port = p.port.trimmed().toInt(&ok);
            if (ok) db.setPort(port);
            db.setDatabaseName(p.base);
            db.setUserName(p.utilisateur);
            db.setPassword(p.motDePasse);
            db.setConnectOptions(QStringLiteral("connect_timeout=10;application_name=") +
                                 (p.module.isEmpty() ? QStringLiteral("VYK") : p.module));
            if (!db.open()) {
                erreur = db.lastError().text().trimmed();
                db = QSqlDatabase();
                fermer();
                return false;
            }
            const QVariant h = db.driver()->handle();
            m_c = h.isValid() ? *static_cast<PGconn *const *>(h.constData()) : nullptr;
        }
        if (!m_c) {
            erreur = QStringLiteral("La connexion PostgreSQL n'a pas pu être préparée.");
            fermer();
            return false;
        }
        // Month-first literals of the desktop dialect; backslashes are plain characters.
        if (!executer(
                QStringLiteral("SET DateStyle = 'ISO, MDY'; SET standard_conforming_strings = on; "
                               "SET client_encoding = 'UTF8'; SET client_min_messages = warning"),
                nullptr, nullptr, erreur)) {
            fermer();
            return false;
        }
        return true;
    }

    void fermer() override
    {
        m_c = nullptr;
        fermerConnexionQt(m_nom);
    }

    bool executer(const QString &sql, Tableau *resultat, long long *modifiees,
                  QString &erreur) override
    {
        if (!m_c) {
            erreur = messageBaseFermee();
            return false;
        }
        return terminer(PQsendQuery(m_c, sql.toUtf8().constData()), resultat, modifiees, erreur, 0,
                        0);
    }

    // Reads the results of what was just sent (envoye: the send succeeded).
    bool terminer(bool envoye, Tableau *resultat, long long *modifiees, QString &erreur, int avant,
                  int apres)
    {
        if (!envoye) {
            erreur = erreurResultat(nullptr, m_c);
            return false;
        }
        const Collecte c = collecter(resultat, avant, apres);
        if (!c.ok) {
            erreur = c.erreur;
            return false;
        }
        if (modifiees) *modifiees = c.modifiees;
        return true;
    }

    // One round trip: SAVEPOINT; statement; RELEASE. On failure the savepoint is rolled back,
    // so that the transaction goes on with the statements around this one.
    bool executerIsole(const QString &sql, Tableau *resultat, long long *modifiees,
                       QString &erreur) override
    {
        if (!m_c) {
            erreur = messageBaseFermee();
            return false;
        }
        const QByteArray texte = QByteArrayLiteral("SAVEPOINT ") + SAUVEGARDE + ";\n" +
                                 sql.toUtf8() + QByteArrayLiteral("\n;RELEASE SAVEPOINT ") +
                                 SAUVEGARDE;
        if (terminer(PQsendQuery(m_c, texte.constData()), resultat, modifiees, erreur, 1, 1))
            return true;
        revenir();
        return false;
    }

    void revenir()
    {
        ResultatPg r(PQexec(m_c, (QByteArrayLiteral("ROLLBACK TO SAVEPOINT ") + SAUVEGARDE +
                                  QByteArrayLiteral("; RELEASE SAVEPOINT ") + SAUVEGARDE)
                                     .constData()));
    }

    // Reads every result of the query just sent. The first `avant` and last `apres` results
    // belong to the savepoint wrapping and are not the caller's.
    Collecte collecter(Tableau *resultat, int avant, int apres)
    {
        Collecte c;
        QVector<PGresult *> resultats;
        while (PGresult *r = PQgetResult(m_c))
            resultats << r;
        const int n = int(resultats.size());
        for (int i = 0; i < n; ++i) {
            PGresult *r = resultats[i];
            const ExecStatusType s = PQresultStatus(r);
            if (s != PGRES_COMMAND_OK && s != PGRES_TUPLES_OK && s != PGRES_EMPTY_QUERY) {
                if (c.ok) {
                    c.ok = false;
                    c.erreur = erreurResultat(r, m_c);
                }
                continue;
            }
            if (i < avant || i >= n - apres || !c.ok) continue;
            if (s == PGRES_TUPLES_OK && resultat) {
                lireResultat(r, *resultat);
                c.aDesLignes = true;
            }
            c.modifiees = lignesTouchees(r);
        }
        for (PGresult *r : resultats)
            PQclear(r);
        return c;
    }

    std::unique_ptr<InstructionMoteur> preparer(const QString &sql, QString &erreur) override
    {
        if (!m_c) {
            erreur = messageBaseFermee();
            return nullptr;
        }
        const QByteArray nom = "vyk_p" + QByteArray::number(++m_numero);
        // A statement that cannot be prepared must not abort the transaction around it.
        QString ignoree;
        if (m_isolation &&
            !executer(QStringLiteral("SAVEPOINT vyk_preparation"), nullptr, nullptr, erreur))
            return nullptr;
        ResultatPg r(PQprepare(m_c, nom.constData(), sql.toUtf8().constData(), 0, nullptr));
        if (PQresultStatus(r.r) != PGRES_COMMAND_OK) {
            erreur = erreurResultat(r.r, m_c);
            if (m_isolation)
                executer(
                    QStringLiteral(
                        "ROLLBACK TO SAVEPOINT vyk_preparation; RELEASE SAVEPOINT vyk_preparation"),
                    nullptr, nullptr, ignoree);
            return nullptr;
        }
        if (m_isolation)
            executer(QStringLiteral("RELEASE SAVEPOINT vyk_preparation"), nullptr, nullptr,
                     ignoree);
        ResultatPg d(PQdescribePrepared(m_c, nom.constData()));
        const int nb = PQresultStatus(d.r) == PGRES_COMMAND_OK ? PQnparams(d.r) : 0;
        return std::make_unique<InstructionPostgres>(this, nom, nb);
    }

    bool executerPrepare(const QByteArray &nom, const QVector<QVariant> &parametres,
                         Tableau *resultat, long long *modifiees, QString &erreur)
    {
        if (!m_c) {
            erreur = messageBaseFermee();
            return false;
        }
        QVector<QByteArray> textes;
        QVector<const char *> valeurs;
        textes.reserve(parametres.size());
        for (const QVariant &v : parametres)
            textes << texteParametre(v);
        for (const QByteArray &t : textes)
            valeurs << (t.isNull() ? nullptr : t.constData());
        const int n = int(valeurs.size());
        if (!m_isolation)
            return terminer(PQsendQueryPrepared(m_c, nom.constData(), n, valeurs.constData(),
                                                nullptr, nullptr, 0),
                            resultat, modifiees, erreur, 0, 0);
        // Inside a transaction: savepoint, statement, release in one pipeline.
        if (!PQenterPipelineMode(m_c)) {
            erreur = erreurResultat(nullptr, m_c);
            return false;
        }
        const QByteArray sp = QByteArrayLiteral("SAVEPOINT ") + SAUVEGARDE;
        const QByteArray rel = QByteArrayLiteral("RELEASE SAVEPOINT ") + SAUVEGARDE;
        PQsendQueryParams(m_c, sp.constData(), 0, nullptr, nullptr, nullptr, nullptr, 0);
        PQsendQueryPrepared(m_c, nom.constData(), n, valeurs.constData(), nullptr, nullptr, 0);
        PQsendQueryParams(m_c, rel.constData(), 0, nullptr, nullptr, nullptr, nullptr, 0);
        PQpipelineSync(m_c);
        Collecte c;
        for (int etape = 0; etape < 4; ++etape) {
            while (PGresult *r = PQgetResult(m_c)) {
                const ExecStatusType s = PQresultStatus(r);
                if (s == PGRES_PIPELINE_SYNC) {
                    PQclear(r);
                    break;
                }
                if (s == PGRES_FATAL_ERROR && c.ok) {
                    c.ok = false;
                    c.erreur = erreurResultat(r, m_c);
                } else if (etape == 1 && c.ok) {
                    if (s == PGRES_TUPLES_OK && resultat) lireResultat(r, *resultat);
                    c.modifiees = lignesTouchees(r);
                }
                PQclear(r);
            }
        }
        PQexitPipelineMode(m_c);
        if (!c.ok) {
            erreur = c.erreur;
            revenir();
            return false;
        }
        if (modifiees) *modifiees = c.modifiees;
        return true;
    }

    void liberer(const QByteArray &nom)
    {
        if (m_c) ResultatPg r(PQexec(m_c, ("DEALLOCATE " + nom).constData()));
    }

    std::unique_ptr<InsertionMoteur> insertion(const QString &table, const QStringList &colonnes,
                                               QString &erreur) override;

    // COMMIT of a transaction the server has aborted answers ROLLBACK: that is a failure.
    bool valider(QString &erreur) override
    {
        if (!m_c) {
            erreur = messageBaseFermee();
            return false;
        }
        ResultatPg r(PQexec(m_c, "COMMIT"));
        if (PQresultStatus(r.r) != PGRES_COMMAND_OK) {
            erreur = erreurResultat(r.r, m_c);
            return false;
        }
        if (qstrcmp(PQcmdStatus(r.r), "COMMIT") != 0) {
            erreur = QStringLiteral(
                "La transaction a été annulée par le serveur : rien n'a été enregistré.");
            return false;
        }
        return true;
    }

    bool transactionOuverte() const override
    {
        return m_c && PQtransactionStatus(m_c) != PQTRANS_IDLE;
    }

    QString colonneIdentite() const override { return QStringLiteral("ctid"); }
    QString clauseRetourIdentite() const override { return QStringLiteral(" RETURNING ctid"); }

    QStringList tables() override { return tablesPostgres(); }
    bool tableExiste(const QString &table) override { return tableExistePostgres(table); }
    QStringList vues() override { return vuesPostgres(); }
    QStringList index() override { return indexPostgres(); }
    QStringList colonnes(const QString &table) override { return colonnesPostgres(table); }

  private:
    QString m_nom;
    PGconn *m_c = nullptr;
    long long m_numero = 0;
};

InstructionPostgres::~InstructionPostgres()
{
    if (m_moteur) m_moteur->liberer(m_nom);
}

bool InstructionPostgres::executer(const QVector<QVariant> &parametres, Tableau *resultat,
                                   long long *modifiees, QString &erreur)
{
    if (!m_moteur) {
        erreur = messageBaseFermee();
        return false;
    }
    return m_moteur->executerPrepare(m_nom, parametres, resultat, modifiees, erreur);
}

// COPY in chunks. A chunk that fails is rolled back and its rows inserted one by one, so that
// only the bad rows are lost, each reported.
class InsertionPostgres : public InsertionMoteur
{
  public:
    InsertionPostgres(MoteurPostgres *moteur, QString table, QStringList colonnes)
        : m_moteur(moteur), m_table(std::move(table)), m_colonnes(std::move(colonnes))
    {
    }
    ~InsertionPostgres() override { vider(); }

    bool ajouter(const QVector<QVariant> &ligne) override
    {
        m_lignes << ligne;
        for (int i = 0; i < ligne.size(); ++i) {
            if (i) m_tampon += '\t';
            echapper(ligne[i], m_tampon);
        }
        m_tampon += '\n';
        if (m_lignes.size() >= 5000) return vider();
        return true;
    }

    bool vider() override
    {
        if (m_lignes.isEmpty()) return true;
        const long long premier = m_numero + 1;
        QString erreur;
        bool ok = copier(erreur);
        if (!ok) ok = ligneParLigne(premier);
        m_numero += m_lignes.size();
        m_lignes.clear();
        m_tampon.clear();
        return ok;
    }

  private:
    static void echapper(const QVariant &v, QByteArray &sortie)
    {
        const QByteArray t = texteParametre(v);
        if (t.isNull()) {
            sortie += "\\N";
            return;
        }
        for (char c : t) {
            switch (c) {
            case '\\':
                sortie += "\\\\";
                break;
            case '\t':
                sortie += "\\t";
                break;
            case '\n':
                sortie += "\\n";
                break;
            case '\r':
                sortie += "\\r";
                break;
            default:
                sortie += c;
            }
        }
    }

    bool copier(QString &erreur)
    {
        PGconn *c = m_moteur->connexion();
        if (!c) return false;
        const bool isole = m_moteur->isolation();
        if (isole &&
            !m_moteur->executer(QStringLiteral("SAVEPOINT vyk_copie"), nullptr, nullptr, erreur))
            return false;
        const QByteArray ordre = "COPY " + m_table.toUtf8() + " (" +
                                 m_colonnes.join(QStringLiteral(", ")).toUtf8() + ") FROM STDIN";
        bool ok = false;
        {
            ResultatPg r(PQexec(c, ordre.constData()));
            if (PQresultStatus(r.r) == PGRES_COPY_IN) {
                const bool envoye =
                    PQputCopyData(c, m_tampon.constData(), int(m_tampon.size())) == 1;
                PQputCopyEnd(c, envoye ? nullptr : "interrompu");
                ok = envoye;
                while (PGresult *fin = PQgetResult(c)) {
                    if (PQresultStatus(fin) != PGRES_COMMAND_OK) {
                        ok = false;
                        erreur = erreurResultat(fin, c);
                    }
                    PQclear(fin);
                }
            } else {
                erreur = erreurResultat(r.r, c);
            }
        }
        QString ignoree;
        if (isole) {
            if (ok)
                m_moteur->executer(QStringLiteral("RELEASE SAVEPOINT vyk_copie"), nullptr, nullptr,
                                   ignoree);
            else
                m_moteur->executer(
                    QStringLiteral("ROLLBACK TO SAVEPOINT vyk_copie; RELEASE SAVEPOINT vyk_copie"),
                    nullptr, nullptr, ignoree);
        }
        return ok;
    }

    bool ligneParLigne(long long premier)
    {
        QString erreur;
        if (!m_insertion) {
            QString sql = QStringLiteral("INSERT INTO ") + m_table + QStringLiteral(" (") +
                          m_colonnes.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (");
            for (int i = 0; i < m_colonnes.size(); ++i)
                sql += (i ? QStringLiteral(", $") : QStringLiteral("$")) + QString::number(i + 1);
            sql += u')';
            m_insertion = m_moteur->preparer(sql, erreur);
            if (!m_insertion) {
                if (erreurLigne) erreurLigne(premier, erreur);
                return false;
            }
        }
        bool tout = true;
        for (int i = 0; i < m_lignes.size(); ++i) {
            if (!m_insertion->executer(m_lignes[i], nullptr, nullptr, erreur)) {
                tout = false;
                if (erreurLigne) erreurLigne(premier + i, erreur);
            }
        }
        return tout;
    }

    MoteurPostgres *m_moteur;
    QString m_table;
    QStringList m_colonnes;
    QVector<QVector<QVariant>> m_lignes;
    QByteArray m_tampon;
    long long m_numero = 0;
    std::unique_ptr<InstructionMoteur> m_insertion;
};

std::unique_ptr<InsertionMoteur> MoteurPostgres::insertion(const QString &table,
                                                           const QStringList &colonnes, QString &)
{
    return std::make_unique<InsertionPostgres>(this, table, colonnes);
}

} // namespace

std::unique_ptr<Moteur> creerMoteurPostgres()
{
    return std::make_unique<MoteurPostgres>();
}

} // namespace vyk
