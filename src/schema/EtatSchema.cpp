#include "schema/EtatSchema.h"

#include "db/Tableau.h"

namespace vyk {

namespace {

// One query for every column of every table of the current schema: (table, column, type).
QString requeteColonnes(const QString &typeBase)
{
    if (typeBase == POSTGRESQL)
        return QStringLiteral(
            "SELECT c.relname AS nomTable, a.attname AS nomColonne, format_type(a.atttypid, "
            "a.atttypmod) AS typeColonne FROM pg_class c "
            "JOIN pg_namespace n ON n.oid = c.relnamespace JOIN pg_attribute a ON a.attrelid = "
            "c.oid "
            "WHERE n.nspname = current_schema() AND c.relkind IN ('r', 'p') AND a.attnum > 0 "
            "AND NOT a.attisdropped ORDER BY c.relname, a.attnum");
    if (typeBase.startsWith(ORACLE))
        return QStringLiteral("SELECT table_name AS nomTable, column_name AS nomColonne, "
                              "data_type AS typeColonne FROM user_tab_columns ORDER BY "
                              "table_name, column_id");
    return QStringLiteral(
        "SELECT m.name AS nomTable, p.name AS nomColonne, p.type AS typeColonne FROM "
        "sqlite_master m JOIN pragma_table_info(m.name) p WHERE m.type = 'table' AND m.name NOT "
        "LIKE 'sqlite%' ORDER BY m.name, p.cid");
}

QString requeteIndex(const QString &typeBase)
{
    if (typeBase == POSTGRESQL)
        return QStringLiteral("SELECT indexname AS nomIndex, tablename AS nomTable FROM "
                              "pg_indexes WHERE schemaname = current_schema()");
    if (typeBase.startsWith(ORACLE))
        return QStringLiteral(
            "SELECT index_name AS nomIndex, table_name AS nomTable FROM user_indexes");
    return QStringLiteral("SELECT name AS nomIndex, tbl_name AS nomTable FROM sqlite_master "
                          "WHERE type = 'index'");
}

} // namespace

bool EtatSchema::charger(BaseDonnees &base)
{
    m_tables.clear();
    m_index.clear();
    if (!base.estOuverte()) return false;
    long nb = 0;
    Tableau t;
    bool ok;
    {
        // A driver without these catalogue views falls back to one query per table.
        BaseDonnees::Discretion discretion(base);
        ok = base.ExtraireRecords(requeteColonnes(base.typeBase()), nb, t);
    }
    if (ok) {
        for (int l = 0; l < t.nbLignes(); ++l) {
            const QString nom = t.texte(l, QStringLiteral("nomTable"));
            Table &table = m_tables[nom.toLower()];
            table.nom = nom;
            table.colonnes.append({t.texte(l, QStringLiteral("nomColonne")),
                                   t.texte(l, QStringLiteral("typeColonne")).toLower()});
        }
    } else if (!chargerColonnesParTable(base)) {
        return false;
    }
    {
        BaseDonnees::Discretion discretion(base);
        if (base.ExtraireRecords(requeteIndex(base.typeBase()), nb, t))
            for (int l = 0; l < t.nbLignes(); ++l)
                m_index.insert(t.texte(l, QStringLiteral("nomIndex")).toLower(),
                               t.texte(l, QStringLiteral("nomTable")).toLower());
    }
    return true;
}

bool EtatSchema::chargerColonnesParTable(BaseDonnees &base)
{
    const QStringList tables = base.tables();
    for (const QString &nom : tables) {
        Table &table = m_tables[nom.toLower()];
        table.nom = nom;
        for (const QString &c : base.colonnes(nom))
            table.colonnes.append({c, QString()});
    }
    return true;
}

int EtatSchema::Table::indexColonne(const QString &colonne) const
{
    for (int i = 0; i < colonnes.size(); ++i)
        if (colonnes[i].nom.compare(colonne, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

const EtatSchema::Table *EtatSchema::table(const QString &nom) const
{
    const auto it = m_tables.constFind(nom.toLower());
    return it == m_tables.constEnd() ? nullptr : &it.value();
}

QStringList EtatSchema::tables() const
{
    QStringList r;
    for (const Table &t : m_tables)
        r << t.nom;
    r.sort(Qt::CaseInsensitive);
    return r;
}

bool EtatSchema::tableExiste(const QString &nom) const
{
    return table(nom) != nullptr;
}

bool EtatSchema::colonneExiste(const QString &nom, const QString &colonne) const
{
    const Table *t = table(nom);
    return t && t->indexColonne(colonne) >= 0;
}

QStringList EtatSchema::colonnes(const QString &nom) const
{
    QStringList r;
    if (const Table *t = table(nom))
        for (const Colonne &c : t->colonnes)
            r << c.nom;
    return r;
}

QString EtatSchema::typeColonne(const QString &nom, const QString &colonne) const
{
    const Table *t = table(nom);
    const int i = t ? t->indexColonne(colonne) : -1;
    return i < 0 ? QString() : t->colonnes[i].type;
}

bool EtatSchema::indexExiste(const QString &index) const
{
    return m_index.contains(index.toLower());
}

QStringList EtatSchema::index() const
{
    QStringList r = m_index.keys();
    r.sort();
    return r;
}

void EtatSchema::noterTable(const QString &nom, const QStringList &colonnes)
{
    Table t;
    t.nom = nom;
    for (const QString &c : colonnes)
        t.colonnes.append({c, QString()});
    m_tables.insert(nom.toLower(), t);
}

void EtatSchema::noterColonne(const QString &nom, const QString &colonne, const QString &type)
{
    auto it = m_tables.find(nom.toLower());
    if (it == m_tables.end()) return;
    const int i = it->indexColonne(colonne);
    if (i < 0)
        it->colonnes.append({colonne, type.toLower()});
    else
        it->colonnes[i].type = type.toLower();
}

void EtatSchema::oublierColonne(const QString &nom, const QString &colonne)
{
    auto it = m_tables.find(nom.toLower());
    if (it == m_tables.end()) return;
    const int i = it->indexColonne(colonne);
    if (i >= 0) it->colonnes.remove(i);
}

void EtatSchema::renommerColonne(const QString &nom, const QString &ancien, const QString &nouveau)
{
    auto it = m_tables.find(nom.toLower());
    if (it == m_tables.end()) return;
    const int i = it->indexColonne(ancien);
    if (i >= 0) it->colonnes[i].nom = nouveau;
}

void EtatSchema::oublierTable(const QString &nom)
{
    const QString cle = nom.toLower();
    m_tables.remove(cle);
    for (auto it = m_index.begin(); it != m_index.end();)
        it = it.value() == cle ? m_index.erase(it) : std::next(it);
}

void EtatSchema::noterIndex(const QString &index, const QString &table)
{
    m_index.insert(index.toLower(), table.toLower());
}

} // namespace vyk
