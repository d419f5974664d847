// PostgreSQL: connection opened through Qt's QPSQL driver, statements sent with libpq on the
// driver's handle (typed results, savepoint isolation in one round trip, COPY for bulk rows).

#include "db/LignePostgres.h"
#include "db/Moteur.h"
#include "db/Outils.h"
#include "db/Sql.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QUuid>

#include <libpq-fe.h>

#include <functional>
#include <utility>

namespace vyk {

namespace {

const char *const SAUVEGARDE = "vyk_isolement";

void lireResultat(PGresult *r, Tableau &t)
{
    const int nbCol = PQnfields(r);
    const int nbLig = PQntuples(r);
    LignePostgres ligne;
    ligne.placer(r, 0);
    QVector<TypeValeur> types;
    for (int c = 0; c < nbCol; ++c)
        types << typeOid(PQftype(r, c));
    t.definirColonnes(ligne.colonnes(), types);
    t.reserver(nbLig);
    for (int l = 0; l < nbLig; ++l) {
        ligne.placer(r, l);
        for (int c = 0; c < nbCol; ++c)
            t.ajouterCellule(ligne.valeur(c));
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

// Commands sent in one pipeline and read back after its sync: one round trip. The status of each
// is kept (PGRES_PIPELINE_ABORTED for those skipped after a failure) and the first failure's
// text; voir receives each other result before it is freed.
class Pipeline
{
  public:
    explicit Pipeline(PGconn *c) : m_c(c), m_ouvert(PQenterPipelineMode(c) == 1) {}
    bool ouvert() const { return m_ouvert; }
    int simple(const QByteArray &q)
    {
        PQsendQueryParams(m_c, q.constData(), 0, nullptr, nullptr, nullptr, nullptr, 0);
        return m_n++;
    }
    // Number of a command the caller sent itself.
    int envoye() { return m_n++; }
    ExecStatusType statut(int i) const { return m_statuts.value(i, PGRES_PIPELINE_ABORTED); }

    bool lire(const std::function<void(int, PGresult *)> &voir, QString &erreur)
    {
        PQpipelineSync(m_c);
        m_statuts.fill(PGRES_PIPELINE_ABORTED, m_n);
        bool ok = true;
        for (int i = 0; i <= m_n; ++i) {
            while (PGresult *r = PQgetResult(m_c)) {
                const ResultatPg garde(r);
                const ExecStatusType s = PQresultStatus(r);
                if (s == PGRES_PIPELINE_SYNC) break;
                if (i >= m_n) continue;
                m_statuts[i] = s;
                if (s == PGRES_FATAL_ERROR) {
                    if (ok) erreur = erreurResultat(r, m_c);
                    ok = false;
                } else if (s != PGRES_PIPELINE_ABORTED && voir) {
                    voir(i, r);
                }
            }
        }
        PQexitPipelineMode(m_c);
        return ok;
    }

  private:
    PGconn *m_c;
    bool m_ouvert;
    int m_n = 0;
    QVector<ExecStatusType> m_statuts;
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
        m_aLiberer.clear();
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

    // Inside a transaction the read is isolated as any statement; a stop asked by the caller can
    // leave a later row's failure behind, which the savepoint undoes too.
    bool parcourir(const QString &sql, const QVector<QVariant> &parametres,
                   const FonctionLigne &fonction, QString &erreur) override
    {
        return lire(sql, parametres, fonction, erreur, true);
    }
    bool parcourirEnBloc(const QString &sql, const QVector<QVariant> &parametres,
                         const FonctionLigne &fonction, QString &erreur) override
    {
        return lire(sql, parametres, fonction, erreur, false);
    }
    bool lire(const QString &sql, const QVector<QVariant> &parametres,
              const FonctionLigne &fonction, QString &erreur, bool pasAPas)
    {
        if (!m_c) {
            erreur = messageBaseFermee();
            return false;
        }
        if (!m_isolation)
            return parcourirPostgres(m_c, sql.toUtf8(), parametres, fonction, erreur, pasAPas);
        if (!pasAPas) return lireEnBlocIsole(sql.toUtf8(), parametres, fonction, erreur);
        const QByteArray point = QByteArrayLiteral("SAVEPOINT ") + SAUVEGARDE;
        if (!executer(QString::fromLatin1(point), nullptr, nullptr, erreur)) return false;
        const bool ok = parcourirPostgres(m_c, sql.toUtf8(), parametres, fonction, erreur, pasAPas);
        if (ok && PQtransactionStatus(m_c) != PQTRANS_INERROR)
            return executer(QStringLiteral("RELEASE SAVEPOINT ") + QLatin1String(SAUVEGARDE),
                            nullptr, nullptr, erreur);
        revenir();
        return ok;
    }

    // Savepoint, read, release in one pipeline; the rows come in one result.
    bool lireEnBlocIsole(const QByteArray &sql, const QVector<QVariant> &parametres,
                         const FonctionLigne &fonction, QString &erreur)
    {
        Pipeline p(m_c);
        if (!p.ouvert()) {
            erreur = erreurResultat(nullptr, m_c);
            return false;
        }
        p.simple(QByteArrayLiteral("SAVEPOINT ") + SAUVEGARDE);
        const ParametresPg v(parametres);
        PQsendQueryParams(m_c, sql.constData(), v.nombre(), nullptr, v.valeurs(), nullptr, nullptr,
                          0);
        const int lecture = p.envoye();
        p.simple(QByteArrayLiteral("RELEASE SAVEPOINT ") + SAUVEGARDE);
        LignePostgres ligne;
        bool continuer = true;
        const bool ok = p.lire(
            [&](int i, PGresult *r) {
                if (i != lecture || PQresultStatus(r) != PGRES_TUPLES_OK) return;
                for (int l = 0; continuer && l < PQntuples(r); ++l) {
                    ligne.placer(r, l);
                    continuer = fonction(ligne);
                    ligne.suivante();
                }
            },
            erreur);
        if (!ok) revenir();
        return ok;
    }

    // One round trip: the preparation and its description, with the deallocations put off until
    // now, inside a savepoint when a failure must not abort the transaction around it. Prepared
    // statements are not transactional: rolling the savepoint back undoes neither.
    std::unique_ptr<InstructionMoteur> preparer(const QString &sql, QString &erreur) override
    {
        if (!m_c) {
            erreur = messageBaseFermee();
            return nullptr;
        }
        const QByteArray nom = "vyk_p" + QByteArray::number(++m_numero);
        Pipeline p(m_c);
        if (!p.ouvert()) {
            erreur = erreurResultat(nullptr, m_c);
            return nullptr;
        }
        if (m_isolation) p.simple("SAVEPOINT vyk_preparation");
        PQsendPrepare(m_c, nom.constData(), sql.toUtf8().constData(), 0, nullptr);
        const int preparation = p.envoye();
        PQsendDescribePrepared(m_c, nom.constData());
        const int description = p.envoye();
        const QVector<QByteArray> liberes = std::exchange(m_aLiberer, {});
        for (const QByteArray &l : liberes)
            p.simple("DEALLOCATE " + l);
        if (m_isolation) p.simple("RELEASE SAVEPOINT vyk_preparation");
        int nb = 0;
        QString echec;
        const bool ok = p.lire(
            [&](int i, PGresult *r) {
                if (i == description) nb = PQnparams(r);
            },
            echec);
        // Those skipped after a failure go with the next preparation.
        for (int i = 0; i < liberes.size(); ++i)
            if (p.statut(description + 1 + i) == PGRES_PIPELINE_ABORTED) m_aLiberer << liberes[i];
        QString ignoree;
        if (!ok && m_isolation)
            executer(
                QStringLiteral(
                    "ROLLBACK TO SAVEPOINT vyk_preparation; RELEASE SAVEPOINT vyk_preparation"),
                nullptr, nullptr, ignoree);
        if (p.statut(preparation) != PGRES_COMMAND_OK) {
            erreur = echec.isEmpty() ? erreurResultat(nullptr, m_c) : echec;
            return nullptr;
        }
        return std::make_unique<InstructionPostgres>(this, nom, nb);
    }

    bool executerPrepare(const QByteArray &nom, const QVector<QVariant> &parametres,
                         Tableau *resultat, long long *modifiees, QString &erreur)
    {
        if (!m_c) {
            erreur = messageBaseFermee();
            return false;
        }
        const ParametresPg p(parametres);
        const int n = p.nombre();
        if (!m_isolation)
            return terminer(
                PQsendQueryPrepared(m_c, nom.constData(), n, p.valeurs(), nullptr, nullptr, 0),
                resultat, modifiees, erreur, 0, 0);
        // Inside a transaction: savepoint, statement, release in one pipeline.
        Pipeline pipeline(m_c);
        if (!pipeline.ouvert()) {
            erreur = erreurResultat(nullptr, m_c);
            return false;
        }
        pipeline.simple(QByteArrayLiteral("SAVEPOINT ") + SAUVEGARDE);
        PQsendQueryPrepared(m_c, nom.constData(), n, p.valeurs(), nullptr, nullptr, 0);
        const int instruction = pipeline.envoye();
        pipeline.simple(QByteArrayLiteral("RELEASE SAVEPOINT ") + SAUVEGARDE);
        long long touchees = 0;
        const bool ok = pipeline.lire(
            [&](int i, PGresult *r) {
                if (i != instruction) return;
                if (PQresultStatus(r) == PGRES_TUPLES_OK && resultat) lireResultat(r, *resultat);
                touchees = lignesTouchees(r);
            },
            erreur);
        if (!ok) {
            revenir();
            return false;
        }
        if (modifiees) *modifiees = touchees;
        return true;
    }

    // Sent with the next preparation rather than on a round trip of its own.
    void liberer(const QByteArray &nom)
    {
        if (m_c) m_aLiberer << nom;
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
    QVector<QByteArray> m_aLiberer;
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

    // The savepoint and its release travel with the COPY in one query: two waits, not four. A
    // failed COPY skips the rest of the query, and the savepoint is then rolled back.
    bool copier(QString &erreur)
    {
        PGconn *c = m_moteur->connexion();
        if (!c) return false;
        const bool isole = m_moteur->isolation();
        QByteArray ordre = "COPY " + m_table.toUtf8() + " (" +
                           m_colonnes.join(QStringLiteral(", ")).toUtf8() + ") FROM STDIN";
        if (isole) ordre = "SAVEPOINT vyk_copie; " + ordre + "; RELEASE SAVEPOINT vyk_copie";
        if (!PQsendQuery(c, ordre.constData())) {
            erreur = erreurResultat(nullptr, c);
            return false;
        }
        // The COPY's own outcome is the result that follows its data.
        bool copie = false, ok = false, issue = false;
        while (PGresult *r = PQgetResult(c)) {
            const ExecStatusType s = PQresultStatus(r);
            if (s == PGRES_COPY_IN) {
                const bool envoye =
                    PQputCopyData(c, m_tampon.constData(), int(m_tampon.size())) == 1;
                PQputCopyEnd(c, envoye ? nullptr : "interrompu");
                copie = true;
            } else if (s != PGRES_COMMAND_OK && erreur.isEmpty()) {
                erreur = erreurResultat(r, c);
            }
            if (copie && !issue && s != PGRES_COPY_IN) {
                issue = true;
                ok = s == PGRES_COMMAND_OK;
            }
            PQclear(r);
        }
        if (!ok && isole) {
            QString ignoree;
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
