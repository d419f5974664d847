#pragma once

#include "db/InstructionPreparee.h"
#include "db/JeuEnregistrements.h"
#include "db/Ligne.h"
#include "db/Tableau.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <QHash>

#include <functional>
#include <memory>
#include <vector>

namespace vyk {

class Moteur;
class InstructionPreparee;
class Dialecte;

// Backend codes, as stored in the settings and the profile file.
inline const QString ACCESS = QStringLiteral("ACCESS");
inline const QString POSTGRESQL = QStringLiteral("POSTGRESQL");
inline const QString ORACLE = QStringLiteral("ORACLE");

// The one database object of the process: every statement of the program goes through it.
// Statements are written in the desktop dialect; the engine layer translates what its engine
// cannot read. Failures are return values; the last error text is kept.
class BaseDonnees
{
  public:
    static BaseDonnees &instance();

    BaseDonnees();
    ~BaseDonnees();
    BaseDonnees(const BaseDonnees &) = delete;
    BaseDonnees &operator=(const BaseDonnees &) = delete;

    // base: file path ("ACCESS") or database / ODBC data source name (servers).
    // typeBase may be "ORACLE" followed by a suffix; it is kept whole for the driver.
    bool ouvrirBase(const QString &base, const QString &typeBase, const QString &serveur,
                    const QString &utilisateur, const QString &motDePasse,
                    const QString &module = QStringLiteral("VYK"), const QString &port = {});
    void fermerBase();
    bool estOuverte() const;

    // Creates an empty desktop database file; false when it exists already or cannot be made.
    static bool creerBaseBureau(const QString &chemin, QString *erreur = nullptr);
    // Opens the database on a connection of its own and closes it at once, leaving the current
    // one as it is: "" when it opens, the reason otherwise (before a change of database).
    static QString essayerBase(const QString &base, const QString &typeBase, const QString &serveur,
                               const QString &utilisateur, const QString &motDePasse,
                               const QString &module, const QString &port = {});

    // "ACCESS", "POSTGRESQL" or "ORACLE"; "" when closed.
    QString typeBase() const { return m_typeBase; }
    QString base() const { return m_base; }
    QString serveur() const { return m_serveur; }
    QString module() const { return m_module; }
    const Dialecte &dialecte() const;

    // Reads rows. nb is 0 on failure or when the query returns nothing.
    bool ExtraireRecords(const QString &sql, long &nb, Tableau &tableau,
                         const QString &option = {});
    // Steps through the rows of one SELECT without keeping them: fonction sees each row in turn
    // and returns false to stop, which ends the read cleanly (true). Same translation and
    // failures as ExtraireRecords; "?" placeholders take parametres. Until it ends no other
    // statement may be sent (a server's connection is busy with the rows): it is refused.
    bool parcourir(const QString &sql, const FonctionLigne &fonction);
    bool parcourir(const QString &sql, const QVector<QVariant> &parametres,
                   const FonctionLigne &fonction);
    // The same for a read small enough to hold whole (one station's analyses, a list): a server
    // sends the rows in one result rather than one result per row, which costs less.
    bool parcourirEnBloc(const QString &sql, const FonctionLigne &fonction);
    bool enLecture() const { return m_enLecture; }
    // Convenience: the rows, empty on failure.
    Tableau extraire(const QString &sql);
    // First column of the first row, null when none.
    QVariant valeur(const QString &sql);

    // Updatable record set over a SELECT on one table; trouve tells whether a row matched.
    bool AccesBase(const QString &sql, JeuEnregistrements &jeu, bool &trouve,
                   const QString &table = {});

    bool Execute(const QString &sql, QString *message = nullptr);
    // Same as Execute, for statements whose failure is expected (schema upgrades).
    bool ExecuteDDL(const QString &sql);
    // Rows touched by the last successful Execute.
    long long lignesModifiees() const { return m_lignesModifiees; }

    // Creates or replaces a view.
    bool creerVue(const QString &nom, const QString &select);
    bool renommerColonne(const QString &table, const QString &ancien, const QString &nouveau);

    // Explicit transaction. Nested calls use savepoints. finTransaction(true) rolls back.
    bool debutTransaction();
    bool finTransaction(bool annuler);
    bool enTransaction() const { return m_profondeur > 0; }
    // Inside a transaction, before reading what decides a write (the largest code, the rows
    // already there): other workstations' writes to the table wait until the transaction ends.
    // Kept across a batch's intermediate commits; a lock the transaction holds already is not
    // asked again.
    bool verrouiller(const QString &table);

    // Server settings handed over just before a switch to a server database. Kept for the
    // suite's other modules; nothing here depends on it.
    void enregistrerParametresServeur(const QString &typeBase, const QString &serveur,
                                      const QString &base, const QString &utilisateur,
                                      const QString &motDePasse);

    // Prepared statement with "?" placeholders, in the desktop dialect.
    InstructionPreparee preparer(const QString &sql);

    // Catalogue of the open database (current schema on servers); names compared without case.
    QStringList tables();
    bool tableExiste(const QString &table);
    QStringList colonnes(const QString &table);
    bool colonneExiste(const QString &table, const QString &colonne);
    bool indexExiste(const QString &index);
    bool vueExiste(const QString &vue);

    QString derniereErreur() const { return m_derniereErreur; }
    // Statements sent since opening (tests use it to prove that nothing else ran).
    long long compteurInstructions() const { return m_compteur; }

    // Journal level received from the options, for the engine's own tracing.
    void setNiveauJournal(int niveau) { m_niveauJournal = niveau; }
    int niveauJournal() const { return m_niveauJournal; }

    // Called on every failed statement (tests install a sink that fails on unexpected errors).
    using ObservateurErreurs = std::function<void(const QString &sql, const QString &erreur)>;
    void setObservateurErreurs(ObservateurErreurs observateur);

    // While it lives, failures are not reported to the observer and the last error text is
    // given back at the end: for writes whose failure must not disturb the caller (journal).
    class Discretion
    {
      public:
        explicit Discretion(BaseDonnees &base);
        ~Discretion();
        Discretion(const Discretion &) = delete;
        Discretion &operator=(const Discretion &) = delete;

      private:
        BaseDonnees &m_bd;
        QString m_erreur;
        ObservateurErreurs m_observateur;
    };

    // Engine access for the database layer's own helpers (batches, bulk inserts).
    Moteur *moteur() const { return m_moteur.get(); }
    // Statements inside a transaction on a server are isolated by a savepoint, so that one
    // failure does not undo or block its neighbours.
    bool isolerEchecs() const;
    void noterErreur(const QString &sql, const QString &erreur);
    void compterInstruction() { apresInstruction(); }

    int profondeurTransaction() const { return m_profondeur; }

    // Batch support (see Lot): while a batch is the outermost transaction, it is committed
    // and reopened every `intervalle` statements.
    void demarrerLot(int intervalle);
    void arreterLot();
    // True when one of the batch's intermediate commits failed (its statements are lost).
    bool lotEchoue() const { return m_lotEchoue; }

    // Used by InstructionPreparee and JeuEnregistrements.
    bool executerPreparee(InstructionPreparee &instruction, Tableau *resultat);
    std::shared_ptr<InstructionMoteur> instructionEnCache(const QString &sqlMoteur,
                                                          QString &erreur);
    QString traduire(const QString &sql, bool numeroterParametres = false) const;

  private:
    bool lire(const QString &sql, const QVector<QVariant> &parametres,
              const FonctionLigne &fonction, bool enBloc);
    bool verifierTexte(const QString &sql);
    bool verifierOuverte(const QString &sql);
    void apresInstruction();
    void majIsolation();
    void detacherInstructions();
    bool validerOuAnnuler(QString &erreur);
    bool prendreVerrou(const QString &table);
    void finPointSauvegarde(bool annule);

    std::unique_ptr<Moteur> m_moteur;
    QString m_typeBase;
    QString m_base;
    QString m_serveur;
    QString m_module;
    QString m_derniereErreur;
    long long m_lignesModifiees = 0;
    long long m_compteur = 0;
    int m_profondeur = 0;
    int m_niveauJournal = 0;
    ObservateurErreurs m_observateur;
    int m_lotIntervalle = 0;
    long long m_lotDepuis = 0;
    bool m_lotEchoue = false;
    bool m_enLecture = false;
    QStringList m_verrous;
    // Locks held now, by lower-case table name, with the depth that took each: rolling back a
    // savepoint gives back what was taken inside it.
    QHash<QString, int> m_verrousTenus;
    quint64 m_generation = 1;
    std::vector<std::weak_ptr<InstructionMoteur>> m_instructions;
    QHash<QString, std::shared_ptr<InstructionMoteur>> m_cache;
    struct ParametresServeur
    {
        QString typeBase, serveur, base, utilisateur, motDePasse;
    } m_parametresServeur;
};

// The process-wide database object.
inline BaseDonnees &bd()
{
    return BaseDonnees::instance();
}

} // namespace vyk
