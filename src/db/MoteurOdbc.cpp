// A server through an ODBC data source (Qt's QODBC driver): Oracle on site; the data source's
// own DBMS chooses the dialect, so a PostgreSQL source is spoken to as PostgreSQL.

#include "db/Moteur.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

namespace vyk {

namespace {

TypeValeur typeQt(int typeId)
{
    switch (typeId) {
    case QMetaType::Bool:
        return TypeValeur::Booleen;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return TypeValeur::Entier;
    case QMetaType::Double:
        return TypeValeur::Reel;
    case QMetaType::QDate:
    case QMetaType::QDateTime:
    case QMetaType::QTime:
        return TypeValeur::DateHeure;
    case QMetaType::QByteArray:
        return TypeValeur::Binaire;
    default:
        return TypeValeur::Texte;
    }
}

// A date column's value as the other engines give it: a date and time.
QVariant valeurOdbc(const QVariant &v)
{
    if (v.isNull()) return {};
    if (v.typeId() == QMetaType::QDate) return QVariant(QDateTime(v.toDate(), QTime(0, 0)));
    return v;
}

void lireRequete(QSqlQuery &q, Tableau &t)
{
    const QSqlRecord rec = q.record();
    QStringList noms;
    QVector<TypeValeur> types;
    for (int c = 0; c < rec.count(); ++c) {
        noms << rec.fieldName(c);
        types << typeQt(rec.field(c).metaType().id());
    }
    t.definirColonnes(noms, types);
    while (q.next())
        for (int c = 0; c < rec.count(); ++c)
            t.ajouterCellule(valeurOdbc(q.value(c)));
}

// The current row of a query being stepped: the driver gives each cell as a QVariant already,
// converted once per row.
class LigneOdbc : public Ligne
{
  public:
    explicit LigneOdbc(const QSqlRecord &rec)
    {
        for (int c = 0; c < rec.count(); ++c)
            m_colonnes << rec.fieldName(c);
        m_valeurs.resize(rec.count());
        m_tampons.resize(rec.count());
    }
    void lire(const QSqlQuery &q)
    {
        for (int c = 0; c < m_valeurs.size(); ++c)
            m_valeurs[c] = valeurOdbc(q.value(c));
    }
    void suivante() { ++m_numero; }

    bool estNul(int c) const override { return m_valeurs[c].isNull(); }
    qint64 entier(int c) const override
    {
        const QVariant &v = m_valeurs[c];
        if (v.typeId() == QMetaType::QString) return entierTexte(utf8(c));
        if (v.typeId() == QMetaType::Double) return entierReel(v.toDouble());
        return v.toLongLong();
    }
    double reel(int c) const override
    {
        const QVariant &v = m_valeurs[c];
        return v.typeId() == QMetaType::QString ? reelTexte(utf8(c)) : v.toDouble();
    }
    QString texte(int c) const override { return texteValeur(m_valeurs[c]); }
    QByteArrayView utf8(int c) const override
    {
        m_tampons[c] = texte(c).toUtf8();
        return m_tampons[c];
    }
    QDateTime date(int c) const override
    {
        const QVariant &v = m_valeurs[c];
        if (v.typeId() == QMetaType::QDateTime) return v.toDateTime();
        if (v.typeId() != QMetaType::QString) return {};
        const QByteArrayView t = utf8(c);
        return dateIso(t.data(), int(t.size()));
    }
    QVariant valeur(int c) const override { return m_valeurs[c]; }

  private:
    QVector<QVariant> m_valeurs;
    mutable QVector<QByteArray> m_tampons;
};

class InstructionOdbc : public InstructionMoteur
{
  public:
    InstructionOdbc(Moteur *moteur, QSqlQuery q, int nb)
        : m_moteur(moteur), m_q(std::move(q)), m_nb(nb)
    {
    }
    int nbParametres() const override { return m_nb; }
    void detacher() override
    {
        m_q = QSqlQuery();
        m_nb = -1;
        m_moteur = nullptr;
    }
    // Inside a server's transaction a failing execution is isolated as the plain statements
    // are: it must not abort its neighbours.
    bool executer(const QVector<QVariant> &parametres, Tableau *resultat, long long *modifiees,
                  QString &erreur) override
    {
        if (!m_moteur) {
            erreur = messageBaseFermee();
            return false;
        }
        auto execution = [&](QString &e) {
            return executerIci(parametres, resultat, modifiees, e);
        };
        return m_moteur->isolation() ? m_moteur->isoler(execution, erreur) : execution(erreur);
    }

  private:
    bool executerIci(const QVector<QVariant> &parametres, Tableau *resultat, long long *modifiees,
                     QString &erreur)
    {
        for (int i = 0; i < parametres.size() && i < m_nb; ++i)
            m_q.bindValue(i, parametres[i]);
        if (!m_q.exec()) {
            erreur = m_q.lastError().text();
            return false;
        }
        if (resultat && m_q.isSelect()) lireRequete(m_q, *resultat);
        if (modifiees) *modifiees = m_q.numRowsAffected();
        return true;
    }

    Moteur *m_moteur;
    QSqlQuery m_q;
    int m_nb;
};

class MoteurOdbc : public Moteur
{
  public:
    ~MoteurOdbc() override { fermer(); }
    Cible cible() const override { return m_postgres ? Cible::Postgres : Cible::Oracle; }

    bool ouvrir(const ParametresOuverture &p, QString &erreur) override
    {
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC"))) {
            erreur = QStringLiteral(
                "Le pilote ODBC n'est pas installé : la base Oracle ne peut pas être ouverte.");
            return false;
        }
        m_nom = QStringLiteral("vyk_odbc_") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_nom);
        // The database name is the ODBC data source; a suffix of the type may name the driver.
        db.setDatabaseName(p.base);
        db.setHostName(p.serveur);
        db.setUserName(p.utilisateur);
        db.setPassword(p.motDePasse);
        if (!db.open()) {
            const QString detail = db.lastError().text();
            if (detail.contains(QLatin1String("IM002")) ||
                detail.contains(QLatin1String("not found"), Qt::CaseInsensitive) ||
                detail.contains(QLatin1String("Can't open lib"), Qt::CaseInsensitive))
                erreur = QStringLiteral("Aucun pilote ODBC Oracle n'est installé pour la source de "
                                        "données « %1 » (%2).")
                             .arg(p.base, detail.trimmed());
            else
                erreur = QStringLiteral("La connexion Oracle par ODBC a échoué : %1")
                             .arg(detail.trimmed());
            db = QSqlDatabase();
            fermer();
            return false;
        }
        // Read by the driver from SQLGetInfo(SQL_DBMS_NAME) at connection.
        m_postgres = db.driver()->dbmsType() == QSqlDriver::PostgreSQL;
        // Numbers as numbers, as the other engines give them (not as decimal texts).
        db.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
        return true;
    }

    void fermer() override { fermerConnexionQt(m_nom); }

    QSqlDatabase db() const { return QSqlDatabase::database(m_nom, false); }

    bool executer(const QString &sql, Tableau *resultat, long long *modifiees,
                  QString &erreur) override
    {
        QSqlQuery q(db());
        q.setForwardOnly(true);
        if (!q.exec(sql)) {
            erreur = q.lastError().text();
            return false;
        }
        if (resultat && q.isSelect()) lireRequete(q, *resultat);
        if (modifiees) *modifiees = q.numRowsAffected();
        return true;
    }

    bool parcourir(const QString &sql, const QVector<QVariant> &parametres,
                   const FonctionLigne &fonction, QString &erreur) override
    {
        auto lecture = [&](QString &e) { return parcourirIci(sql, parametres, fonction, e); };
        return m_isolation ? isoler(lecture, erreur) : lecture(erreur);
    }

    bool parcourirIci(const QString &sql, const QVector<QVariant> &parametres,
                      const FonctionLigne &fonction, QString &erreur)
    {
        QSqlQuery q(db());
        q.setForwardOnly(true);
        bool ok;
        if (parametres.isEmpty()) {
            ok = q.exec(sql);
        } else {
            ok = q.prepare(sql);
            for (int i = 0; ok && i < parametres.size(); ++i)
                q.bindValue(i, parametres[i]);
            ok = ok && q.exec();
        }
        if (!ok) {
            erreur = q.lastError().text();
            return false;
        }
        LigneOdbc ligne(q.record());
        while (q.next()) {
            ligne.lire(q);
            if (!fonction(ligne)) return true;
            ligne.suivante();
        }
        if (q.lastError().isValid()) {
            erreur = q.lastError().text();
            return false;
        }
        return true;
    }

    std::unique_ptr<InstructionMoteur> preparer(const QString &sql, QString &erreur) override
    {
        QSqlQuery q(db());
        if (!q.prepare(sql)) {
            erreur = q.lastError().text();
            return nullptr;
        }
        return std::make_unique<InstructionOdbc>(this, std::move(q), int(sql.count(u'?')));
    }

    bool debut(QString &erreur) override { return resultat(db().transaction(), erreur); }
    bool valider(QString &erreur) override { return resultat(db().commit(), erreur); }
    bool annuler(QString &erreur) override { return resultat(db().rollback(), erreur); }

    QString colonneIdentite() const override
    {
        return m_postgres ? QStringLiteral("ctid") : QStringLiteral("ROWID");
    }
    // The written row's identity, to read its defaults and automatic key back.
    QString clauseRetourIdentite() const override
    {
        return m_postgres ? QStringLiteral(" RETURNING ctid") : QString();
    }
    // On a PostgreSQL source the driver's catalogue spans every schema: the current one only.
    QStringList tables() override
    {
        return m_postgres ? tablesPostgres() : db().tables(QSql::Tables);
    }
    bool tableExiste(const QString &table) override
    {
        return m_postgres ? tableExistePostgres(table) : Moteur::tableExiste(table);
    }
    QStringList vues() override { return m_postgres ? vuesPostgres() : db().tables(QSql::Views); }
    QStringList index() override
    {
        return m_postgres ? indexPostgres()
                          : liste(QStringLiteral("SELECT index_name FROM user_indexes"));
    }
    QStringList colonnes(const QString &table) override
    {
        if (m_postgres) return colonnesPostgres(table);
        // Unquoted names are kept in upper case by Oracle.
        const QSqlRecord rec = db().record(table.toUpper());
        QStringList r;
        for (int i = 0; i < rec.count(); ++i)
            r << rec.fieldName(i);
        return r;
    }

  private:
    bool resultat(bool ok, QString &erreur)
    {
        if (!ok) erreur = db().lastError().text();
        return ok;
    }
    QString m_nom;
    bool m_postgres = false;
};

} // namespace

std::unique_ptr<Moteur> creerMoteurOdbc()
{
    return std::make_unique<MoteurOdbc>();
}

} // namespace vyk
