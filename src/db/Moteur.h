#pragma once

// Engine interface of the database layer. Only db/ uses it: the rest of the program talks to
// BaseDonnees in the desktop dialect.

#include "db/Ligne.h"
#include "db/Tableau.h"
#include "db/TraducteurSql.h"

#include <QString>
#include <QVariant>
#include <QVector>

#include <functional>
#include <memory>

namespace vyk {

struct ParametresOuverture
{
    QString base;
    QString typeBase; // as received (ORACLE may carry a suffix)
    QString serveur;
    QString port;
    QString utilisateur;
    QString motDePasse;
    QString module;
};

// A prepared statement of an engine; parameters are bound by position.
class InstructionMoteur
{
  public:
    virtual ~InstructionMoteur() = default;
    virtual int nbParametres() const = 0;
    // resultat may be null for statements that return no row.
    virtual bool executer(const QVector<QVariant> &parametres, Tableau *resultat,
                          long long *modifiees, QString &erreur) = 0;
    // The engine is closing: release what belongs to it; later calls fail.
    virtual void detacher() = 0;
};

// Bulk insertion into one table (COPY on PostgreSQL, a reused prepared INSERT on SQLite).
class InsertionMoteur
{
  public:
    virtual ~InsertionMoteur() = default;
    // Rows are buffered; rows that fail are reported through erreurLigne and skipped.
    virtual bool ajouter(const QVector<QVariant> &ligne) = 0;
    virtual bool vider() = 0;
    std::function<void(long long numero, const QString &erreur)> erreurLigne;
};

class Moteur
{
  public:
    virtual ~Moteur() = default;

    virtual Cible cible() const = 0;
    virtual bool ouvrir(const ParametresOuverture &p, QString &erreur) = 0;
    virtual void fermer() = 0;

    // sql is already in the engine's dialect. resultat may be null.
    virtual bool executer(const QString &sql, Tableau *resultat, long long *modifiees,
                          QString &erreur) = 0;
    // The same, inside a savepoint rolled back on failure (servers, inside a transaction).
    virtual bool executerIsole(const QString &sql, Tableau *resultat, long long *modifiees,
                               QString &erreur);

    // Steps through the rows of one statement (engine's dialect, "?" placeholders numbered
    // where the engine wants, parameters bound by position); fonction sees each row in turn.
    // Isolated as executerIsole while isolation() is set.
    virtual bool parcourir(const QString &sql, const QVector<QVariant> &parametres,
                           const FonctionLigne &fonction, QString &erreur) = 0;
    // The same for a read small enough to hold whole: a server may send its rows in one result.
    virtual bool parcourirEnBloc(const QString &sql, const QVector<QVariant> &parametres,
                                 const FonctionLigne &fonction, QString &erreur)
    {
        return parcourir(sql, parametres, fonction, erreur);
    }

    // sql in the engine's dialect, "?" placeholders already numbered where the engine wants.
    virtual std::unique_ptr<InstructionMoteur> preparer(const QString &sql, QString &erreur) = 0;
    virtual std::unique_ptr<InsertionMoteur>
    insertion(const QString &table, const QStringList &colonnes, QString &erreur);

    virtual bool debut(QString &erreur);
    virtual bool valider(QString &erreur);
    virtual bool annuler(QString &erreur);
    virtual bool pointSauvegarde(const QString &nom, QString &erreur);
    virtual bool libererPoint(const QString &nom, QString &erreur);
    virtual bool revenirAuPoint(const QString &nom, QString &erreur);
    // Whether the engine still has a transaction open (after a refused COMMIT: SQLite keeps it,
    // a server ends it). True when the engine cannot tell.
    virtual bool transactionOuverte() const { return true; }

    // Column that identifies a row for record-set updates (rowid, ctid, ROWID).
    virtual QString colonneIdentite() const = 0;
    // Clause that returns the identity of the row written by an INSERT or UPDATE, or "".
    virtual QString clauseRetourIdentite() const { return {}; }
    virtual QVariant derniereIdentiteInseree() { return {}; }

    virtual QStringList tables() = 0;
    // One table, whatever the case of its name; engines that can ask for it alone do (the list
    // of a server's tables is long once every station has its own).
    virtual bool tableExiste(const QString &table)
    {
        return tables().contains(table, Qt::CaseInsensitive);
    }
    virtual QStringList colonnes(const QString &table) = 0;
    virtual QStringList index() = 0;
    virtual QStringList vues() = 0;

    virtual bool creerVue(const QString &nom, const QString &select, QString &erreur);
    // Numbers placeholders ($1...) for engines that want it.
    virtual bool numeroteParametres() const { return false; }

    // Runs instruction inside a savepoint rolled back on its failure.
    bool isoler(const std::function<bool(QString &)> &instruction, QString &erreur);

    // Set by BaseDonnees while a transaction is open on a server: prepared statements and
    // bulk inserts then isolate each statement as executerIsole does.
    void definirIsolation(bool isolation) { m_isolation = isolation; }
    bool isolation() const { return m_isolation; }

  protected:
    // The first column of a query's rows, isolated as any statement; empty on failure.
    QStringList liste(const QString &sql);
    // A PostgreSQL server's schema (the current one), whichever road reaches it.
    QStringList tablesPostgres();
    bool tableExistePostgres(const QString &table);
    QStringList vuesPostgres();
    QStringList indexPostgres();
    QStringList colonnesPostgres(const QString &table);

    bool m_isolation = false;
};

// "Aucune base de données n'est ouverte."
QString messageBaseFermee();

// An engine's ISO date text, "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS" (anything after the seconds
// ignored); invalid otherwise.
QDateTime dateIso(const char *t, int n);
// The same text's day and time, not placed in the local time zone; false when it is no date.
bool partiesIso(const char *t, int n, QDate &jour, QTime &heure);

// The date cells of a result read through the previous row's: rows often repeat one date (a
// sample's date on each of its analyses) and a local date and time is dear to build.
class DatesRepetees
{
  public:
    explicit DatesRepetees(int nbColonnes) : m_dernieres(nbColonnes) {}
    // The date of the text (invalid when it is none), read again only when it changed.
    const QVariant &lire(int colonne, const char *t, int n);
    // Its text as texteValeur writes it, also made once per run of equal texts; null when the
    // text is no date.
    const QString *texte(int colonne, const char *t, int n);

  private:
    struct Derniere
    {
        bool lue = false;
        QByteArray texte;
        QVariant date;
        QString ecrite; // null until asked for
    };
    QVector<Derniere> m_dernieres;
};

// Closes and removes a named Qt connection; the name is cleared.
void fermerConnexionQt(QString &nom);

std::unique_ptr<Moteur> creerMoteurSqlite();
std::unique_ptr<Moteur> creerMoteurPostgres();
std::unique_ptr<Moteur> creerMoteurOdbc();

} // namespace vyk
