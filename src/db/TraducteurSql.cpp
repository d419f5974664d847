#include "db/TraducteurSql.h"

#include "db/LexiqueSql.h"

#include <QDate>
#include <QTime>
#include <QVarLengthArray>

#include <algorithm>
#include <cstdio>
#include <array>
#include <string_view>

namespace vyk {

namespace {

using namespace lexique;

enum class Fonction {
    Aucune, Iif, Cstr, Cdbl, Cint, Clng, Isnumeric, Year, Month, Day, Hour, Minute, Second,
    Cvdate, Format, Now, Ucase, Lcase, Mid, Left, Right, Len, Nz, Chr, Instr, Cast
};

Fonction fonctionDe(std::string_view m)
{
    static constexpr std::array<std::pair<std::string_view, Fonction>, 26> table = {{
        {"CAST", Fonction::Cast},       {"CDATE", Fonction::Cvdate}, {"CDBL", Fonction::Cdbl},
        {"CHR", Fonction::Chr},         {"CINT", Fonction::Cint},    {"CLNG", Fonction::Clng},
        {"CSTR", Fonction::Cstr},       {"CVDATE", Fonction::Cvdate}, {"DAY", Fonction::Day},
        {"FORMAT", Fonction::Format},   {"HOUR", Fonction::Hour},    {"IIF", Fonction::Iif},
        {"INSTR", Fonction::Instr},     {"ISNUMERIC", Fonction::Isnumeric},
        {"LCASE", Fonction::Lcase},     {"LEFT", Fonction::Left},    {"LEN", Fonction::Len},
        {"MID", Fonction::Mid},         {"MINUTE", Fonction::Minute}, {"MONTH", Fonction::Month},
        {"NOW", Fonction::Now},         {"NZ", Fonction::Nz},        {"RIGHT", Fonction::Right},
        {"SECOND", Fonction::Second},   {"UCASE", Fonction::Ucase},  {"YEAR", Fonction::Year},
    }};
    for (const auto &[nom, f] : table)
        if (nom == m)
            return f;
    return Fonction::Aucune;
}

bool estMotCleDdl(std::string_view m)
{
    static constexpr std::array<std::string_view, 18> mots = {
        "ADD", "ALTER", "AS", "COLUMN", "CONSTRAINT", "CREATE", "DEFAULT", "EXISTS", "IF", "KEY",
        "NOT", "NULL", "ON", "PRIMARY", "REFERENCES", "TABLE", "UNIQUE", "DROP"};
    return std::find(mots.begin(), mots.end(), m) != mots.end();
}

// Access date format words to to_char masks, for a format given as a literal.
QString masqueToChar(const QString &format)
{
    QString r;
    const QString f = format;
    int i = 0;
    auto suite = [&](QChar c) {
        int k = i;
        while (k < f.size() && f[k].toLower() == c)
            ++k;
        return k - i;
    };
    while (i < f.size()) {
        const QChar c = f[i].toLower();
        int k = suite(c);
        if (c == u'y') {
            r += k >= 4 ? QStringLiteral("YYYY") : QStringLiteral("YY");
        } else if (c == u'm') {
            r += k >= 4 ? QStringLiteral("FMMonth") : k == 3 ? QStringLiteral("Mon") : QStringLiteral("MM");
        } else if (c == u'd') {
            r += k >= 3 ? QStringLiteral("Dy") : QStringLiteral("DD");
        } else if (c == u'h') {
            r += QStringLiteral("HH24");
        } else if (c == u'n') {
            r += QStringLiteral("MI");
        } else if (c == u's') {
            r += QStringLiteral("SS");
        } else if (c == u'0' || c == u'#') {
            r += QString(k, c == u'0' ? QChar(u'0') : QChar(u'9'));
        } else {
            k = 1;
            r += f[i];
        }
        i += k;
    }
    return r;
}

class Traducteur
{
public:
    Traducteur(const QString &sql, Cible cible, bool numeroter)
        : m_sql(sql), m_cible(cible), m_numeroter(numeroter)
    {
        decouper(m_sql, m_jetons);
        // A statement is DDL when it creates or alters a table: only there are type words
        // rewritten, so that a column or alias named like a type elsewhere stays untouched.
        int a = suivant(-1);
        int b = a >= 0 ? suivant(a) : -1;
        if (a >= 0 && b >= 0) {
            const QString premier = texte(a).toString().toUpper();
            const QString second = texte(b).toString().toUpper();
            m_ddl = (premier == u"CREATE" && (second == u"TABLE" || second == u"TEMP" ||
                                              second == u"TEMPORARY")) ||
                    (premier == u"ALTER" && second == u"TABLE");
            m_alterTable = premier == u"ALTER" && second == u"TABLE";
        }
    }

    QString traduire()
    {
        if (!aTraduire())
            return m_sql;
        QString sortie;
        sortie.reserve(m_sql.size() + 32);
        QString limite;
        traduirePlage(0, int(m_jetons.size()), sortie, &limite);
        if (!limite.isEmpty())
            sortie += limite;
        return sortie;
    }

private:
    QStringView texte(int i) const { return QStringView(m_sql).mid(m_jetons[i].debut, m_jetons[i].longueur); }
    bool significatif(int i) const
    {
        return m_jetons[i].genre != Genre::Espace && m_jetons[i].genre != Genre::Commentaire;
    }
    int suivant(int i, int fin = -1) const
    {
        const int n = fin < 0 ? int(m_jetons.size()) : fin;
        for (int k = i + 1; k < n; ++k)
            if (significatif(k))
                return k;
        return -1;
    }
    int precedent(int i, int debut = 0) const
    {
        for (int k = i - 1; k >= debut; --k)
            if (significatif(k))
                return k;
        return -1;
    }
    bool estOp(int i, QStringView op) const
    {
        if (i < 0 || m_jetons[i].genre != Genre::Op || m_jetons[i].longueur != op.size())
            return false;
        return m_jetons[i].c0 == op[0].unicode() && (op.size() == 1 || m_jetons[i].c1 == op[1].unicode());
    }
    bool estOp(int i, char16_t op) const
    {
        return i >= 0 && m_jetons[i].genre == Genre::Op && m_jetons[i].longueur == 1 && m_jetons[i].c0 == op;
    }
    std::string_view mot(int i, std::array<char, 24> &tampon) const
    {
        if (i < 0 || m_jetons[i].genre != Genre::Ident)
            return {};
        return majuscules(texte(i), tampon);
    }

    // Fast path: most statements (plain INSERT/UPDATE with literals) need nothing.
    bool aTraduire() const
    {
        std::array<char, 24> t{};
        for (int i = 0; i < m_jetons.size(); ++i) {
            const Jeton &j = m_jetons[i];
            switch (j.genre) {
            case Genre::Date:
                return true;
            case Genre::IdentQuote:
                if (m_sql[j.debut] != u'"' || m_cible != Cible::Sqlite)
                    return true;
                break;
            case Genre::Param:
                if (m_numeroter)
                    return true;
                break;
            case Genre::Op:
                if (estOp(i, u'&') || estOp(i, u'/') || estOp(i, u'+'))
                    return true;
                break;
            case Genre::Ident: {
                const std::string_view m = majuscules(texte(i), t);
                if (m.empty())
                    break;
                if (m == "LIKE" || m == "TOP" || m == "MOD" || m == "ALTER")
                    return true;
                if (m == "ORDER" && m_cible != Cible::Sqlite)
                    return true;
                if (m_ddl && !motTypeCible(texte(i), m_cible).isNull())
                    return true;
                if (fonctionDe(m) != Fonction::Aucune) {
                    const int k = suivant(i);
                    if (k >= 0 && estOp(k, u"("))
                        return true;
                }
                break;
            }
            default:
                break;
            }
        }
        return false;
    }

    int parentheseFermante(int ouvrante, int fin) const
    {
        int profondeur = 0;
        for (int k = ouvrante; k < fin; ++k) {
            if (estOp(k, u'('))
                ++profondeur;
            else if (estOp(k, u')') && --profondeur == 0)
                return k;
        }
        return -1;
    }

    struct Plage
    {
        int debut, fin;
    };

    QVarLengthArray<Plage, 4> arguments(int ouvrante, int fermante) const
    {
        QVarLengthArray<Plage, 4> args;
        int profondeur = 0;
        int debut = ouvrante + 1;
        for (int k = ouvrante + 1; k < fermante; ++k) {
            if (estOp(k, u'('))
                ++profondeur;
            else if (estOp(k, u')'))
                --profondeur;
            else if (estOp(k, u',') && profondeur == 0) {
                args.append({debut, k});
                debut = k + 1;
            }
        }
        if (fermante > ouvrante + 1)
            args.append({debut, fermante});
        return args;
    }

    QString traduireArg(Plage p)
    {
        QString s;
        traduirePlage(p.debut, p.fin, s, nullptr);
        return s.trimmed();
    }

    bool plageEstChaine(Plage p, QString *contenu) const
    {
        const int a = suivant(p.debut - 1, p.fin);
        if (a < 0 || m_jetons[a].genre != Genre::Chaine || suivant(a, p.fin) >= 0)
            return false;
        const QStringView t = texte(a);
        *contenu = t.mid(1, t.size() - 2).toString().replace(QStringLiteral("''"), QStringLiteral("'"));
        return true;
    }

    static QString testNumeriquePg(const QString &x)
    {
        return QStringLiteral("coalesce(cast(") + x +
               QStringLiteral(" as text) ~ '^\\s*[-+]?([0-9]+([.,][0-9]*)?|[.,][0-9]+)([eE][-+]?[0-9]+)?\\s*$', false)");
    }

    static QString chaineSql(const QString &t)
    {
        QString r = t;
        r.replace(u'\'', QStringLiteral("''"));
        return u'\'' + r + u'\'';
    }

    QString partiesDate(const char *champ, const QString &x) const
    {
        if (m_cible == Cible::Sqlite)
            return QString::fromLatin1(champ).toLower() + u'(' + x + u')';
        const QString partie = QString::fromLatin1(champ).toLower();
        if (m_cible == Cible::Postgres)
            return QStringLiteral("cast(extract(") + partie + QStringLiteral(" from cast(") + x +
                   QStringLiteral(" as timestamp)) as integer)");
        return QStringLiteral("extract(") + partie + QStringLiteral(" from ") + x + u')';
    }

    // Returns false when the call is left as written.
    bool traduireFonction(Fonction f, int nom, int ouvrante, int fermante, QString &sortie)
    {
        const auto args = arguments(ouvrante, fermante);
        const int n = int(args.size());
        QStringList a;
        if (f != Fonction::Cast)
            for (const Plage &p : args)
                a << traduireArg(p);
        const bool sqlite = m_cible == Cible::Sqlite;
        const bool pg = m_cible == Cible::Postgres;
        auto appel = [&](const QString &nomFonction) {
            sortie += nomFonction + u'(' + a.join(QStringLiteral(", ")) + u')';
            return true;
        };
        switch (f) {
        case Fonction::Iif:
            if (n != 3)
                return false;
            if (sqlite)
                return appel(QStringLiteral("iif"));
            sortie += QStringLiteral("(CASE WHEN ") + a[0] + QStringLiteral(" THEN ") + a[1] +
                      QStringLiteral(" ELSE ") + a[2] + QStringLiteral(" END)");
            return true;
        case Fonction::Cstr:
            if (n != 1)
                return false;
            if (sqlite)
                return appel(QStringLiteral("cstr"));
            sortie += pg ? QStringLiteral("cast(") + a[0] + QStringLiteral(" as text)")
                         : QStringLiteral("to_char(") + a[0] + u')';
            return true;
        case Fonction::Cdbl:
            if (n != 1)
                return false;
            if (sqlite)
                return appel(QStringLiteral("cdbl"));
            sortie += pg ? QStringLiteral("(CASE WHEN ") + testNumeriquePg(a[0]) +
                               QStringLiteral(" THEN cast(replace(cast(") + a[0] +
                               QStringLiteral(" as text), ',', '.') as double precision) END)")
                         : QStringLiteral("to_number(") + a[0] + u')';
            return true;
        case Fonction::Cint:
        case Fonction::Clng:
            if (n != 1)
                return false;
            if (sqlite)
                return appel(f == Fonction::Cint ? QStringLiteral("cint") : QStringLiteral("clng"));
            sortie += pg ? QStringLiteral("(CASE WHEN ") + testNumeriquePg(a[0]) +
                               QStringLiteral(" THEN cast(round(cast(replace(cast(") + a[0] +
                               QStringLiteral(" as text), ',', '.') as double precision)) as ") +
                               (f == Fonction::Cint ? QStringLiteral("integer) END)") : QStringLiteral("bigint) END)"))
                         : QStringLiteral("round(") + a[0] + u')';
            return true;
        case Fonction::Isnumeric:
            if (n != 1)
                return false;
            if (sqlite)
                return appel(QStringLiteral("isnumeric"));
            if (pg)
                sortie += testNumeriquePg(a[0]);
            else
                sortie += QStringLiteral("(CASE WHEN regexp_like(") + a[0] +
                          QStringLiteral(", '^\\s*[-+]?([0-9]+([.,][0-9]*)?|[.,][0-9]+)\\s*$') THEN 1 ELSE 0 END)");
            return true;
        case Fonction::Year:
        case Fonction::Month:
        case Fonction::Day:
        case Fonction::Hour:
        case Fonction::Minute:
        case Fonction::Second: {
            if (n != 1)
                return false;
            static const char *const noms[] = {"YEAR", "MONTH", "DAY", "HOUR", "MINUTE", "SECOND"};
            sortie += partiesDate(noms[int(f) - int(Fonction::Year)], a[0]);
            return true;
        }
        case Fonction::Cvdate:
            if (n != 1)
                return false;
            if (sqlite)
                return appel(QStringLiteral("cvdate"));
            sortie += QStringLiteral("cast(") + a[0] + (pg ? QStringLiteral(" as timestamp)") : QStringLiteral(" as date)"));
            return true;
        case Fonction::Format: {
            if (n != 2)
                return false;
            if (sqlite)
                return appel(QStringLiteral("vyk_format"));
            QString format;
            if (!plageEstChaine(args[1], &format))
                return false;
            sortie += QStringLiteral("to_char(") + a[0] + QStringLiteral(", ") +
                      chaineSql(masqueToChar(format)) + u')';
            return true;
        }
        case Fonction::Now:
            if (n != 0)
                return false;
            sortie += sqlite ? QStringLiteral("vyk_now()")
                             : pg ? QStringLiteral("clock_timestamp()") : QStringLiteral("SYSDATE");
            return true;
        case Fonction::Ucase:
            return n == 1 && appel(QStringLiteral("upper"));
        case Fonction::Lcase:
            return n == 1 && appel(QStringLiteral("lower"));
        case Fonction::Mid:
            return (n == 2 || n == 3) && appel(QStringLiteral("substr"));
        case Fonction::Left:
            if (n != 2)
                return false;
            sortie += QStringLiteral("substr(") + a[0] + QStringLiteral(", 1, ") + a[1] + u')';
            return true;
        case Fonction::Right:
            if (n != 2)
                return false;
            if (sqlite)
                return appel(QStringLiteral("vyk_right"));
            if (pg)
                return appel(QStringLiteral("right"));
            sortie += QStringLiteral("substr(") + a[0] + QStringLiteral(", -(") + a[1] + QStringLiteral("))");
            return true;
        case Fonction::Len:
            return n == 1 && appel(QStringLiteral("length"));
        case Fonction::Nz:
            if (n == 2)
                return appel(m_cible == Cible::Oracle ? QStringLiteral("nvl") : QStringLiteral("coalesce"));
            if (n != 1)
                return false;
            sortie += pg ? QStringLiteral("coalesce(cast(") + a[0] + QStringLiteral(" as text), '')")
                         : QStringLiteral("coalesce(") + a[0] + QStringLiteral(", '')");
            return true;
        case Fonction::Chr:
            return n == 1 && appel(sqlite ? QStringLiteral("char") : QStringLiteral("chr"));
        case Fonction::Instr:
            if (n != 2)
                return false;
            return appel(pg ? QStringLiteral("strpos") : QStringLiteral("instr"));
        case Fonction::Cast:
            return traduireCast(nom, ouvrante, fermante, sortie);
        case Fonction::Aucune:
            break;
        }
        return false;
    }

    // cast(x AS type): only the type word changes (double alone is not a type on PostgreSQL).
    bool traduireCast(int nom, int ouvrante, int fermante, QString &sortie)
    {
        std::array<char, 24> t{};
        int as = -1;
        int profondeur = 0;
        for (int k = ouvrante + 1; k < fermante; ++k) {
            if (m_jetons[k].genre == Genre::Op) {
                if (estOp(k, u'('))
                    ++profondeur;
                else if (estOp(k, u')'))
                    --profondeur;
            } else if (profondeur == 0 && mot(k, t) == "AS") {
                as = k;
            }
        }
        if (as < 0)
            return false;
        const int motType = suivant(as, fermante);
        if (motType < 0 || m_jetons[motType].genre != Genre::Ident)
            return false;
        sortie += texte(nom).toString() + u'(' + traduireArg({ouvrante + 1, as}) + QStringLiteral(" AS ");
        const int dernier = traduireType(motType, fermante, sortie);
        // what follows the type word ("precision", a size) stays
        if (dernier + 1 < fermante)
            traduirePlage(dernier + 1, fermante, sortie, nullptr);
        sortie += u')';
        return true;
    }

    // Writes the engine type for the type word at i and returns the last token consumed.
    int traduireType(int i, int fin, QString &sortie)
    {
        int taille = -1;
        int dernier = i;
        const int ouvr = suivant(i, fin);
        if (ouvr >= 0 && estOp(ouvr, u"(")) {
            const int nombre = suivant(ouvr, fin);
            const int ferm = nombre >= 0 ? suivant(nombre, fin) : -1;
            if (nombre >= 0 && m_jetons[nombre].genre == Genre::Nombre && ferm >= 0 && estOp(ferm, u")")) {
                taille = texte(nombre).toInt();
                dernier = ferm;
            }
        }
        // "double precision" is already the PostgreSQL word.
        const int apres = suivant(i, fin);
        std::array<char, 24> t{};
        if (apres >= 0 && mot(apres, t) == "PRECISION") {
            sortie += texte(i).toString();
            return i;
        }
        const QString cible = motTypeCible(texte(i), m_cible, taille);
        if (cible.isEmpty()) {
            sortie += texte(i).toString();
            return i;
        }
        sortie += cible;
        return dernier;
    }

    QString identifiantQuote(int i) const
    {
        const QStringView t = texte(i);
        const QStringView nom = t.mid(1, t.size() - 2);
        if (estIdentifiantSimple(nom))
            return nom.toString();
        QString n = nom.toString();
        n.replace(u'"', QStringLiteral("\"\""));
        if (m_cible == Cible::Postgres)
            n = n.toLower();
        else if (m_cible == Cible::Oracle)
            n = n.toUpper();
        return u'"' + n + u'"';
    }

    void traduirePlage(int debut, int fin, QString &sortie, QString *limite)
    {
        std::array<char, 24> t{};
        // Unchanged tokens are copied by runs, not one by one: most of a statement is kept.
        int attente = -1;
        auto garder = [&](int k) {
            if (attente < 0)
                attente = m_jetons[k].debut;
        };
        auto vider = [&](int k) {
            if (attente >= 0) {
                sortie += QStringView(m_sql).mid(attente, m_jetons[k].debut - attente);
                attente = -1;
            }
        };
        // The desktop engine sorts NULLs first in ascending order and last in descending
        // order, as SQLite does; the servers do the opposite unless told, so each sort key
        // of an ORDER BY gets its NULLS clause there.
        struct Tri
        {
            int profondeur, debutCles, dernier;
            bool desc, nulls;
        };
        QVarLengthArray<Tri, 2> tris;
        int profondeur = 0;
        const bool placerNulls = m_cible != Cible::Sqlite;
        auto finirCle = [&](Tri &tri) {
            if (tri.dernier >= 0 && !tri.nulls) {
                const qsizetype apres = m_jetons[tri.dernier].debut + m_jetons[tri.dernier].longueur;
                if (attente >= 0 && attente < apres) {
                    sortie += QStringView(m_sql).mid(attente, apres - attente);
                    attente = apres;
                }
                sortie += tri.desc ? QStringLiteral(" NULLS LAST") : QStringLiteral(" NULLS FIRST");
            }
            tri.dernier = -1;
            tri.desc = tri.nulls = false;
        };
        for (int i = debut; i < fin; ++i) {
            const Jeton &j = m_jetons[i];
            bool delimiteur = false;
            if (placerNulls && significatif(i)) {
                if (estOp(i, u'(')) {
                    ++profondeur;
                } else if (estOp(i, u')')) {
                    // The parenthesis closes the group holding the ORDER BY; it still belongs
                    // to the sort key of an outer ORDER BY, if any.
                    if (!tris.isEmpty() && tris.back().profondeur == profondeur) {
                        finirCle(tris.back());
                        tris.pop_back();
                    }
                    --profondeur;
                } else if (!tris.isEmpty() && tris.back().profondeur == profondeur) {
                    const std::string_view m = mot(i, t);
                    if (estOp(i, u',')) {
                        finirCle(tris.back());
                        delimiteur = true;
                    } else if (estOp(i, u';') || m == "LIMIT" || m == "OFFSET" || m == "FETCH" ||
                               m == "UNION" || m == "EXCEPT" || m == "INTERSECT" || m == "FOR") {
                        finirCle(tris.back());
                        tris.pop_back();
                        delimiteur = true;
                    }
                }
                if (mot(i, t) == "ORDER") {
                    const int by = suivant(i, fin);
                    if (by >= 0 && mot(by, t) == "BY")
                        tris.append({profondeur, by, -1, false, false});
                }
            }
            switch (j.genre) {
            case Genre::Date: {
                bool ok = false;
                const QString iso = texteDateIso(texte(i).mid(1, j.longueur - 2), &ok);
                if (!ok) {
                    garder(i);
                    break;
                }
                vider(i);
                if (m_cible == Cible::Oracle)
                    sortie += QStringLiteral("to_date('") + iso + QStringLiteral("', 'YYYY-MM-DD HH24:MI:SS')");
                else
                    sortie += u'\'' + iso + u'\'';
                break;
            }
            case Genre::IdentQuote:
                if (m_sql[j.debut] == u'"' && m_cible == Cible::Sqlite) {
                    garder(i);
                } else {
                    vider(i);
                    sortie += identifiantQuote(i);
                }
                break;
            case Genre::Param:
                if (m_numeroter) {
                    vider(i);
                    sortie += u'$' + QString::number(++m_numeroParam);
                } else {
                    garder(i);
                }
                break;
            case Genre::Op: {
                // "+" next to a text joins texts in the desktop dialect; every engine adds with it.
                if (estOp(i, u'&') || (estOp(i, u'+') && entreTextes(i, debut, fin))) {
                    vider(i);
                    sortie += QStringLiteral("||");
                } else if (estOp(i, u'/') && !m_ddl) {
                    vider(i);
                    sortie += QStringLiteral("* 1.0 /");
                } else {
                    garder(i);
                }
                break;
            }
            case Genre::Ident: {
                const std::string_view m = majuscules(texte(i), t);
                const int k = suivant(i, fin);
                if (!m.empty() && k >= 0 && estOp(k, u"(")) {
                    const Fonction f = fonctionDe(m);
                    if (f != Fonction::Aucune) {
                        const int fermante = parentheseFermante(k, fin);
                        if (fermante > 0) {
                            QString appel;
                            if (traduireFonction(f, i, k, fermante, appel)) {
                                vider(i);
                                sortie += appel;
                                i = fermante;
                                break;
                            }
                        }
                    }
                }
                if (m == "LIKE" && m_cible == Cible::Postgres) {
                    vider(i);
                    sortie += QStringLiteral("ILIKE");
                } else if (m == "MOD") {
                    vider(i);
                    sortie += u'%';
                } else if (m == "TOP" && limite && estApresSelect(i, debut)) {
                    const int nombre = suivant(i, fin);
                    if (nombre >= 0 && m_jetons[nombre].genre == Genre::Nombre) {
                        vider(i);
                        const QString n = texte(nombre).toString();
                        *limite = m_cible == Cible::Oracle
                                      ? QStringLiteral(" FETCH FIRST ") + n + QStringLiteral(" ROWS ONLY")
                                      : QStringLiteral(" LIMIT ") + n;
                        i = nombre;
                        if (i + 1 < fin && m_jetons[i + 1].genre == Genre::Espace)
                            ++i;
                    } else {
                        garder(i);
                    }
                } else if (m_ddl && estPositionType(i, debut)) {
                    vider(i);
                    i = traduireType(i, fin, sortie);
                } else if (m_alterTable && m == "ALTER" && i > suivant(-1)) {
                    vider(i);
                    i = traduireAlterColonne(i, fin, sortie);
                } else if (m_alterTable && m == "COLUMN" && m_cible == Cible::Oracle) {
                    // Oracle writes ADD without COLUMN.
                    const int p = precedent(i, debut);
                    if (!(p >= 0 && mot(p, t) == "ADD")) {
                        garder(i);
                    } else {
                        vider(i);
                        if (i + 1 < fin && m_jetons[i + 1].genre == Genre::Espace)
                            ++i;
                    }
                } else {
                    garder(i);
                }
                break;
            }
            default:
                garder(i);
                break;
            }
            if (!tris.isEmpty() && !delimiteur && significatif(i) && i > tris.back().debutCles) {
                Tri &tri = tris.back();
                tri.dernier = i;
                if (profondeur == tri.profondeur) {
                    const std::string_view m = mot(i, t);
                    if (m == "DESC")
                        tri.desc = true;
                    else if (m == "NULLS")
                        tri.nulls = true;
                }
            }
        }
        while (!tris.isEmpty()) {
            finirCle(tris.back());
            tris.pop_back();
        }
        if (attente >= 0 && fin > 0)
            sortie += QStringView(m_sql).mid(attente, m_jetons[fin - 1].debut + m_jetons[fin - 1].longueur - attente);
    }

    // ALTER TABLE t ALTER [COLUMN] c <type>: PostgreSQL wants ALTER COLUMN c TYPE <type>,
    // Oracle MODIFY (c <type>); SQLite keeps the desktop form, which its engine rebuilds.
    int traduireAlterColonne(int i, int fin, QString &sortie)
    {
        std::array<char, 24> t{};
        int col = suivant(i, fin);
        if (col >= 0 && mot(col, t) == "COLUMN")
            col = suivant(col, fin);
        const int type = col >= 0 ? suivant(col, fin) : -1;
        if (col < 0 || type < 0 || m_jetons[type].genre != Genre::Ident) {
            sortie += texte(i);
            return i;
        }
        const std::string_view motType = mot(type, t);
        if (motType == "TYPE" || motType == "SET" || motType == "DROP") {
            sortie += texte(i);
            return i;
        }
        QString nomColonne = m_jetons[col].genre == Genre::IdentQuote ? identifiantQuote(col) : texte(col).toString();
        QString typeCible;
        const int dernier = traduireType(type, fin, typeCible);
        QString reste;
        traduirePlage(dernier + 1, fin, reste, nullptr);
        switch (m_cible) {
        case Cible::Postgres:
            sortie += QStringLiteral("ALTER COLUMN ") + nomColonne + QStringLiteral(" TYPE ") + typeCible +
                      QStringLiteral(" USING cast(") + nomColonne + QStringLiteral(" as ") + typeCible + u')' + reste;
            break;
        case Cible::Oracle:
            sortie += QStringLiteral("MODIFY (") + nomColonne + u' ' + typeCible + u')' + reste;
            break;
        case Cible::Sqlite:
            sortie += QStringLiteral("ALTER COLUMN ") + nomColonne + u' ' + typeCible + reste;
            break;
        }
        return fin - 1;
    }

    bool estApresSelect(int i, int debut) const
    {
        std::array<char, 24> t{};
        const int p = precedent(i, debut);
        const std::string_view m = mot(p, t);
        return m == "SELECT" || m == "DISTINCT" || m == "DISTINCTROW";
    }

    // A type word stands after a column name (or after TYPE in ALTER ... TYPE).
    bool estPositionType(int i, int debut) const
    {
        if (motTypeCible(texte(i), m_cible).isNull())
            return false;
        const int p = precedent(i, debut);
        if (p < 0)
            return false;
        if (m_jetons[p].genre == Genre::IdentQuote)
            return true;
        if (m_jetons[p].genre != Genre::Ident)
            return false;
        std::array<char, 24> t{};
        const std::string_view m = mot(p, t);
        if (m == "TYPE")
            return true;
        if (estMotCleDdl(m))
            return false;
        // "CREATE TABLE name (" puts the table name two tokens before the first column.
        const int pp = precedent(p, debut);
        return pp >= 0 && (estOp(pp, u"(") || estOp(pp, u",") || mot(pp, t) == "ADD" ||
                           mot(pp, t) == "COLUMN" || mot(pp, t) == "ALTER");
    }

    bool entreTextes(int i, int debut, int fin) const
    {
        const int p = precedent(i, debut);
        const int s = suivant(i, fin);
        return (p >= 0 && m_jetons[p].genre == Genre::Chaine) || (s >= 0 && m_jetons[s].genre == Genre::Chaine);
    }

    const QString &m_sql;
    Cible m_cible;
    bool m_numeroter;
    bool m_ddl = false;
    bool m_alterTable = false;
    int m_numeroParam = 0;
    Jetons m_jetons;
};

} // namespace

QString motTypeCible(QStringView mot, Cible cible, int taille)
{
    std::array<char, 24> t{};
    const std::string_view m = majuscules(mot, t);
    if (m.empty())
        return {};
    const bool sqlite = cible == Cible::Sqlite;
    const bool pg = cible == Cible::Postgres;
    const QString tailleTexte = taille >= 0 ? u'(' + QString::number(taille) + u')' : QString();
    if (m == "TEXT") {
        if (taille >= 0)
            return (sqlite ? QStringLiteral("VARCHAR") : pg ? QStringLiteral("varchar") : QStringLiteral("varchar2")) + tailleTexte;
        return sqlite ? QStringLiteral("TEXT") : pg ? QStringLiteral("text") : QStringLiteral("varchar2(255)");
    }
    if (m == "MEMO" || m == "LONGTEXT")
        return sqlite ? QStringLiteral("TEXT") : pg ? QStringLiteral("text") : QStringLiteral("varchar2(4000)");
    // "real" keeps only about seven digits: Lambert-93 coordinates would lose their decimals.
    if (m == "DOUBLE" || m == "FLOAT" || m == "SINGLE" || m == "REAL" || m == "CURRENCY")
        return sqlite ? QStringLiteral("DOUBLE") : pg ? QStringLiteral("double precision") : QStringLiteral("Number");
    if (m == "SHORT" || m == "SMALLINT" || m == "BYTE" || m == "TINYINT")
        return sqlite ? QStringLiteral("SMALLINT") : pg ? QStringLiteral("integer") : QStringLiteral("Number");
    if (m == "LONG")
        return sqlite ? QStringLiteral("BIGINT") : pg ? QStringLiteral("bigint") : QStringLiteral("Number");
    if (m == "DATETIME" || m == "DATE")
        return sqlite ? QStringLiteral("DATETIME") : pg ? QStringLiteral("timestamp with time zone") : QStringLiteral("timestamp");
    if (m == "YESNO" || m == "BIT" || m == "LOGICAL")
        return sqlite ? QStringLiteral("BOOLEAN") : pg ? QStringLiteral("boolean") : QStringLiteral("number(1)");
    if (m == "AUTOINCREMENT" || m == "COUNTER" || m == "SERIAL")
        return sqlite ? QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT")
                      : pg ? QStringLiteral("serial") : QStringLiteral("number generated by default as identity");
    return {};
}

bool estIdentifiantSimple(QStringView nom)
{
    if (nom.isEmpty() || nom.size() > 63)
        return false;
    const char16_t premier = nom.front().unicode();
    if (!((premier >= 'A' && premier <= 'Z') || (premier >= 'a' && premier <= 'z') || premier == '_'))
        return false;
    for (QChar c : nom) {
        const char16_t u = c.unicode();
        if (!((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '_'))
            return false;
    }
    return true;
}

QString traduireSql(const QString &sql, Cible cible, bool numeroterParametres)
{
    Traducteur t(sql, cible, numeroterParametres);
    return t.traduire();
}

} // namespace vyk
