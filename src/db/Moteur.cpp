#include "db/Moteur.h"

#include "db/Sql.h"

#include <QDateTime>
#include <QSqlDatabase>

#include <cstring>

namespace vyk {

namespace {
const QString POINT_ISOLEMENT = QStringLiteral("vyk_isolement");

// Default bulk insertion: one prepared INSERT reused for every row.
class InsertionPreparee : public InsertionMoteur
{
  public:
    explicit InsertionPreparee(std::unique_ptr<InstructionMoteur> instruction)
        : m_instruction(std::move(instruction))
    {
    }
    bool ajouter(const QVector<QVariant> &ligne) override
    {
        ++m_numero;
        QString erreur;
        if (m_instruction->executer(ligne, nullptr, nullptr, erreur)) return true;
        if (erreurLigne) erreurLigne(m_numero, erreur);
        return false;
    }
    bool vider() override { return true; }

  private:
    std::unique_ptr<InstructionMoteur> m_instruction;
    long long m_numero = 0;
};
} // namespace

bool Moteur::isoler(const std::function<bool(QString &)> &instruction, QString &erreur)
{
    QString ignoree;
    if (!pointSauvegarde(POINT_ISOLEMENT, erreur)) return false;
    if (instruction(erreur)) return libererPoint(POINT_ISOLEMENT, erreur);
    revenirAuPoint(POINT_ISOLEMENT, ignoree);
    libererPoint(POINT_ISOLEMENT, ignoree);
    return false;
}

bool Moteur::executerIsole(const QString &sql, Tableau *resultat, long long *modifiees,
                           QString &erreur)
{
    return isoler([&](QString &e) { return executer(sql, resultat, modifiees, e); }, erreur);
}

std::unique_ptr<InsertionMoteur> Moteur::insertion(const QString &table,
                                                   const QStringList &colonnes, QString &erreur)
{
    QString sql = QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") +
                  colonnes.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (");
    for (int i = 0; i < colonnes.size(); ++i) {
        if (i) sql += QStringLiteral(", ");
        sql += numeroteParametres() ? u'$' + QString::number(i + 1) : QStringLiteral("?");
    }
    sql += u')';
    auto instruction = preparer(sql, erreur);
    if (!instruction) return nullptr;
    return std::make_unique<InsertionPreparee>(std::move(instruction));
}

QStringList Moteur::liste(const QString &sql)
{
    Tableau t;
    QString e;
    QStringList r;
    if (!(m_isolation ? executerIsole(sql, &t, nullptr, e) : executer(sql, &t, nullptr, e)))
        return r;
    for (int i = 0; i < t.nbLignes(); ++i)
        r << t(i, 0).toString();
    return r;
}

// The system catalogue rather than information_schema, whose privilege checks cost a good part
// of a millisecond a call on the server: an import asks once per station.
QStringList Moteur::tablesPostgres()
{
    return liste(QStringLiteral("SELECT tablename FROM pg_catalog.pg_tables WHERE "
                                "schemaname = current_schema() ORDER BY tablename"));
}

bool Moteur::tableExistePostgres(const QString &table)
{
    return !liste(QStringLiteral("SELECT 1 FROM pg_catalog.pg_tables WHERE schemaname = "
                                 "current_schema() AND lower(tablename) = ") +
                  sqlTexte(table.toLower()))
                .isEmpty();
}

QStringList Moteur::vuesPostgres()
{
    return liste(QStringLiteral(
        "SELECT table_name FROM information_schema.views WHERE table_schema = current_schema() "
        "ORDER BY table_name"));
}

QStringList Moteur::indexPostgres()
{
    return liste(QStringLiteral("SELECT indexname FROM pg_indexes WHERE schemaname = "
                                "current_schema() ORDER BY indexname"));
}

QStringList Moteur::colonnesPostgres(const QString &table)
{
    return liste(QStringLiteral("SELECT column_name FROM information_schema.columns WHERE "
                                "table_schema = current_schema() AND table_name = ") +
                 sqlTexte(table.toLower()) + QStringLiteral(" ORDER BY ordinal_position"));
}

QString messageBaseFermee()
{
    return QStringLiteral("Aucune base de données n'est ouverte.");
}

void fermerConnexionQt(QString &nom)
{
    if (nom.isEmpty()) return;
    {
        QSqlDatabase db = QSqlDatabase::database(nom, false);
        if (db.isValid()) db.close();
    }
    QSqlDatabase::removeDatabase(nom);
    nom.clear();
}

bool Moteur::debut(QString &erreur)
{
    return executer(QStringLiteral("BEGIN"), nullptr, nullptr, erreur);
}
bool Moteur::valider(QString &erreur)
{
    return executer(QStringLiteral("COMMIT"), nullptr, nullptr, erreur);
}
bool Moteur::annuler(QString &erreur)
{
    return executer(QStringLiteral("ROLLBACK"), nullptr, nullptr, erreur);
}

bool Moteur::pointSauvegarde(const QString &nom, QString &erreur)
{
    return executer(QStringLiteral("SAVEPOINT ") + nom, nullptr, nullptr, erreur);
}

bool Moteur::libererPoint(const QString &nom, QString &erreur)
{
    return executer(QStringLiteral("RELEASE SAVEPOINT ") + nom, nullptr, nullptr, erreur);
}

bool Moteur::revenirAuPoint(const QString &nom, QString &erreur)
{
    return executer(QStringLiteral("ROLLBACK TO SAVEPOINT ") + nom, nullptr, nullptr, erreur);
}

// CREATE OR REPLACE cannot change a view's columns on PostgreSQL: the view is then dropped and
// made again.
bool Moteur::creerVue(const QString &nom, const QString &select, QString &erreur)
{
    auto envoyer = [&](const QString &sql, QString &e) {
        return m_isolation ? executerIsole(sql, nullptr, nullptr, e)
                           : executer(sql, nullptr, nullptr, e);
    };
    if (envoyer(QStringLiteral("CREATE OR REPLACE VIEW ") + nom + QStringLiteral(" AS ") + select,
                erreur))
        return true;
    QString ignoree;
    if (!envoyer(QStringLiteral("DROP VIEW ") + nom, ignoree)) return false;
    return envoyer(QStringLiteral("CREATE VIEW ") + nom + QStringLiteral(" AS ") + select, erreur);
}

bool partiesIso(const char *t, int n, QDate &jour, QTime &heure)
{
    auto chiffres = [&](int debut, int nb, int &v) {
        v = 0;
        for (int k = debut; k < debut + nb; ++k) {
            if (k >= n || t[k] < '0' || t[k] > '9') return false;
            v = v * 10 + (t[k] - '0');
        }
        return true;
    };
    int a, m, j, h = 0, mi = 0, s = 0;
    if (n < 10 || !chiffres(0, 4, a) || t[4] != '-' || !chiffres(5, 2, m) || t[7] != '-' ||
        !chiffres(8, 2, j))
        return false;
    if (n >= 19 && (t[10] == ' ' || t[10] == 'T')) {
        if (!chiffres(11, 2, h) || t[13] != ':' || !chiffres(14, 2, mi) || t[16] != ':' ||
            !chiffres(17, 2, s))
            return false;
    } else if (n != 10) {
        return false;
    }
    const QDate date(a, m, j);
    const QTime horaire(h, mi, s);
    if (!date.isValid() || !horaire.isValid()) return false;
    jour = date;
    heure = horaire;
    return true;
}

QDateTime dateIso(const char *t, int n)
{
    QDate jour;
    QTime heure;
    return partiesIso(t, n, jour, heure) ? QDateTime(jour, heure) : QDateTime();
}

const QVariant &DatesRepetees::lire(int colonne, const char *t, int n)
{
    Derniere &d = m_dernieres[colonne];
    if (d.lue && d.texte.size() == n && std::memcmp(d.texte.constData(), t, size_t(n)) == 0)
        return d.date;
    d.lue = true;
    d.texte = QByteArray(t, n);
    d.ecrite = QString();
    const QDateTime date = dateIso(t, n);
    d.date = date.isValid() ? QVariant(date) : QVariant();
    return d.date;
}

const QString *DatesRepetees::texte(int colonne, const char *t, int n)
{
    const QVariant &date = lire(colonne, t, n);
    if (!date.isValid()) return nullptr;
    Derniere &d = m_dernieres[colonne];
    if (d.ecrite.isNull()) d.ecrite = texteValeur(date);
    return &d.ecrite;
}

} // namespace vyk
