#include "CatalogueMoteur.h"

#include "db/Tableau.h"

namespace vyk::test {

QStringList indexMoteur()
{
    const QString sql =
        bd().typeBase() == POSTGRESQL
            ? QStringLiteral("SELECT indexname FROM pg_indexes WHERE schemaname = current_schema()")
            : QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND name NOT "
                             "LIKE 'sqlite_autoindex%'");
    const Tableau t = bd().extraire(sql);
    QStringList r;
    for (int l = 0; l < t.nbLignes(); ++l)
        r << t.texte(l, 0).toLower();
    r.sort();
    return r;
}

CatalogueMoteur lireCatalogueMoteur()
{
    CatalogueMoteur c;
    for (const QString &t : bd().tables()) {
        QStringList colonnes;
        for (const QString &col : bd().colonnes(t))
            colonnes << col.toLower();
        c.colonnes.insert(t.toLower(), colonnes);
    }
    c.index = indexMoteur();
    const QString sql = bd().typeBase() == POSTGRESQL
                            ? QStringLiteral("SELECT table_name FROM information_schema.views "
                                             "WHERE table_schema = current_schema()")
                            : QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'view'");
    const Tableau t = bd().extraire(sql);
    for (int l = 0; l < t.nbLignes(); ++l)
        c.vues << t.texte(l, 0).toLower();
    c.vues.sort();
    return c;
}

QString typeMoteur(const QString &table, const QString &colonne)
{
    QString sql;
    if (bd().typeBase() == POSTGRESQL)
        sql =
            QStringLiteral(
                "SELECT format_type(a.atttypid, a.atttypmod) FROM pg_attribute a JOIN pg_class c "
                "ON c.oid = a.attrelid "
                "JOIN pg_namespace n ON n.oid = c.relnamespace WHERE n.nspname = current_schema() "
                "AND c.relname = '%1' AND a.attname = '%2' AND NOT a.attisdropped")
                .arg(table.toLower(), colonne.toLower());
    else
        sql = QStringLiteral("SELECT type FROM pragma_table_info('%1') WHERE lower(name) = '%2'")
                  .arg(table, colonne.toLower());
    return bd().extraire(sql).texte(0, 0).toLower();
}

QString difference(const CatalogueMoteur &a, const CatalogueMoteur &b)
{
    QStringList d;
    for (auto it = a.colonnes.begin(); it != a.colonnes.end(); ++it)
        if (!b.colonnes.contains(it.key()))
            d << QStringLiteral("table seulement avant : ") + it.key();
        else if (b.colonnes.value(it.key()) != it.value())
            d << QStringLiteral("colonnes de ") + it.key() + QStringLiteral(" : ") +
                     it.value().join(u',') + QStringLiteral(" / ") +
                     b.colonnes.value(it.key()).join(u',');
    for (auto it = b.colonnes.begin(); it != b.colonnes.end(); ++it)
        if (!a.colonnes.contains(it.key()))
            d << QStringLiteral("table seulement après : ") + it.key();
    if (a.index != b.index)
        d << QStringLiteral("index : ") + a.index.join(u',') + QStringLiteral(" / ") +
                 b.index.join(u',');
    if (a.vues != b.vues)
        d << QStringLiteral("vues : ") + a.vues.join(u',') + QStringLiteral(" / ") +
                 b.vues.join(u',');
    return d.join(u'\n');
}

} // namespace vyk::test
