#include "import/Jobs.h"

#include "db/BaseDonnees.h"
#include "db/Session.h"
#include "db/Sql.h"

namespace vyk {

namespace {

// Adds one row through an updatable record set and gives back its auto-numbered id.
qint64 ajouterLigne(const QString &select, const QString &table,
                    const QList<QPair<QString, QVariant>> &valeurs)
{
    JeuEnregistrements jeu;
    bool trouve = false;
    if (!bd().AccesBase(select + QStringLiteral(" WHERE 1=0"), jeu, trouve, table)) return -1;
    jeu.addnew();
    for (const auto &[colonne, valeur] : valeurs)
        jeu.fields(colonne) = valeur;
    if (!jeu.Update()) return -1;
    const QVariant id = jeu.fields(QStringLiteral("id")).valeur();
    return id.isNull() ? -1 : id.toLongLong();
}

QDateTime maintenant()
{
    // Stored to the second, as the timestamps are shown.
    QDateTime t = QDateTime::currentDateTime();
    t.setTime(QTime(t.time().hour(), t.time().minute(), t.time().second()));
    return t;
}

} // namespace

qint64 creerJob(const QString &modele, const QString &nom)
{
    const QVariant format =
        bd().valeur(QStringLiteral("SELECT id FROM FORMAT_DONNEES WHERE code=") + sqlTexte(modele));
    const QString login = session().login;
    return ajouterLigne(QStringLiteral("SELECT id, nom, format_donnees, login FROM JOBS"),
                        QStringLiteral("JOBS"),
                        {{QStringLiteral("nom"), nom},
                         {QStringLiteral("format_donnees"),
                          format.isNull() ? QVariant() : QVariant(format.toLongLong())},
                         {QStringLiteral("login"), login.isEmpty() ? QVariant() : login}});
}

qint64 demarrerExecution(qint64 job)
{
    if (job < 0) return -1;
    return ajouterLigne(
        QStringLiteral("SELECT id, execution_timestamp, job_id FROM JOBS_EXECUTION"),
        QStringLiteral("JOBS_EXECUTION"),
        {{QStringLiteral("execution_timestamp"), maintenant()}, {QStringLiteral("job_id"), job}});
}

bool terminerExecution(const QString &erreur, qint64 execution)
{
    if (execution < 0) return false;
    const QString id = QString::number(execution);
    const QVariant debut = bd().valeur(
        QStringLiteral("SELECT execution_timestamp FROM JOBS_EXECUTION WHERE id=") + id);
    if (!debut.isValid()) return false;
    const qint64 duree =
        debut.isNull() ? 0 : std::max<qint64>(0, debut.toDateTime().secsTo(maintenant()));
    InstructionPreparee maj =
        bd().preparer(QStringLiteral("UPDATE JOBS_EXECUTION SET duration=?, statut=? WHERE id=?"));
    const bool ok = maj.executer({duree, erreur.isEmpty(), execution});
    journaliserExecution(erreur, execution);
    return ok;
}

bool journaliserExecution(const QString &texte, qint64 execution)
{
    if (texte.isEmpty() || execution < 0) return false;
    return ajouterLigne(QStringLiteral("SELECT id, commentaire, execution_timestamp, "
                                       "job_execution_id FROM JOBS_JOURNAL"),
                        QStringLiteral("JOBS_JOURNAL"),
                        {{QStringLiteral("commentaire"), texte},
                         {QStringLiteral("execution_timestamp"), maintenant()},
                         {QStringLiteral("job_execution_id"), execution}}) >= 0;
}

QVector<ExecutionJob> dernieresExecutions(int nombre)
{
    QVector<ExecutionJob> executions;
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT e.id AS id, j.nom AS job, f.code AS modele, j.login AS login, "
                       "e.execution_timestamp AS debut, e.duration AS duree, e.statut AS statut "
                       "FROM (JOBS_EXECUTION e LEFT JOIN JOBS j ON j.id=e.job_id) "
                       "LEFT JOIN FORMAT_DONNEES f ON f.id=j.format_donnees ORDER BY e.id DESC"));
    for (int i = 0; i < t.nbLignes() && i < nombre; ++i) {
        ExecutionJob e;
        auto v = [&](const char *c) -> const QVariant & { return t.valeur(i, QLatin1String(c)); };
        e.id = v("id").toLongLong();
        e.job = texteValeur(v("job"));
        e.modele = texteValeur(v("modele"));
        e.login = texteValeur(v("login"));
        e.debut = v("debut").toDateTime();
        e.termine = !v("duree").isNull();
        e.duree = e.termine ? v("duree").toLongLong() : -1;
        e.statut = v("statut").toBool() || texteValeur(v("statut")) == QLatin1String("1");
        const Tableau j = bd().extraire(
            QStringLiteral("SELECT commentaire FROM JOBS_JOURNAL WHERE job_execution_id=") +
            QString::number(e.id) + QStringLiteral(" ORDER BY id"));
        QStringList lignes;
        for (int k = 0; k < j.nbLignes(); ++k)
            lignes << j.texte(k, QStringLiteral("commentaire"));
        e.journal = lignes.join(u'\n');
        executions << e;
    }
    return executions;
}

} // namespace vyk
