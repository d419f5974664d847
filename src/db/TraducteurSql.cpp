#include "db/TraducteurSql.h"

#include "db/FonctionsSql.h"
#include "db/LexiqueSql.h"

#include <QDate>
#include <QTime>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

namespace vyk {

namespace {

using namespace lexique;
using namespace fonctionsSql;

bool estMotCleDdl(std::string_view m)
{
    static constexpr std::array<std::string_view, 18> mots = {
        "ADD", "ALTER", "AS",   "COLUMN", "CONSTRAINT", "CREATE",     "DEFAULT", "EXISTS", "IF",
        "KEY", "NOT",   "NULL", "ON",     "PRIMARY",    "REFERENCES", "TABLE",   "UNIQUE", "DROP"};
    return std::find(mots.begin(), mots.end(), m) != mots.end();
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
            m_ddl = (premier == u"CREATE" &&
                     (second == u"TABLE" || second == u"TEMP" || second == u"TEMPORARY")) ||
                    (premier == u"ALTER" && second == u"TABLE");
            m_alterTable = premier == u"ALTER" && second == u"TABLE";
        }
    }

    QString traduire()
    {
        if (!aTraduire()) return m_sql;
        QString sortie;
        sortie.reserve(m_sql.size() + 32);
        QString limite;
        traduirePlage(0, int(m_jetons.size()), sortie, &limite);
        if (!limite.isEmpty()) sortie += limite;
        return sortie;
    }

  private:
    QStringView texte(int i) const
    {
        return QStringView(m_sql).mid(m_jetons[i].debut, m_jetons[i].longueur);
    }
    bool significatif(int i) const
    {
        return m_jetons[i].genre != Genre::Espace && m_jetons[i].genre != Genre::Commentaire;
    }
    int suivant(int i, int fin = -1) const
    {
        const int n = fin < 0 ? int(m_jetons.size()) : fin;
        for (int k = i + 1; k < n; ++k)
            if (significatif(k)) return k;
        return -1;
    }
    int precedent(int i, int debut = 0) const
    {
        for (int k = i - 1; k >= debut; --k)
            if (significatif(k)) return k;
        return -1;
    }
    bool estOp(int i, QStringView op) const
    {
        if (i < 0 || m_jetons[i].genre != Genre::Op || m_jetons[i].longueur != op.size())
            return false;
        return m_jetons[i].c0 == op[0].unicode() &&
               (op.size() == 1 || m_jetons[i].c1 == op[1].unicode());
    }
    bool estOp(int i, char16_t op) const
    {
        return i >= 0 && m_jetons[i].genre == Genre::Op && m_jetons[i].longueur == 1 &&
               m_jetons[i].c0 == op;
    }
    std::string_view mot(int i, std::array<char, 24> &tampon) const
    {
        if (i < 0 || m_jetons[i].genre != Genre::Ident) return {};
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
                if (m_sql[j.debut] != u'"' || m_cible != Cible::Sqlite) return true;
                break;
            case Genre::Param:
                if (m_numeroter) return true;
                break;
            case Genre::Op:
                if (estOp(i, u'&') || estOp(i, u'/') || estOp(i, u'+')) return true;
                break;
            case Genre::Ident: {
                const std::string_view m = majuscules(texte(i), t);
                if (m.empty()) break;
                if (m == "LIKE" || m == "TOP" || m == "MOD" || m == "ALTER") return true;
                if (m == "ORDER" && m_cible != Cible::Sqlite) return true;
                if (m_ddl && !motTypeCible(texte(i), m_cible).isNull()) return true;
                if (estFonctionDialecte(m)) {
                    const int k = suivant(i);
                    if (k >= 0 && estOp(k, u"(")) return true;
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
        if (fermante > ouvrante + 1) args.append({debut, fermante});
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
        if (a < 0 || m_jetons[a].genre != Genre::Chaine || suivant(a, p.fin) >= 0) return false;
        const QStringView t = texte(a);
        *contenu =
            t.mid(1, t.size() - 2).toString().replace(QStringLiteral("''"), QStringLiteral("'"));
        return true;
    }

    // Returns false when the call is left as written.
    bool traduireFonction(std::string_view nomFonction, int nom, int ouvrante, int fermante,
                          QString &sortie)
    {
        if (nomFonction == "CAST") return traduireCast(nom, ouvrante, fermante, sortie);
        const auto args = arguments(ouvrante, fermante);
        QStringList a;
        for (const Plage &p : args)
            a << traduireArg(p);
        QString format;
        const bool litteral = args.size() == 2 && plageEstChaine(args[1], &format);
        const QString appel = traduireAppel(nomFonction, a, litteral ? &format : nullptr, m_cible);
        if (appel.isNull()) return false;
        sortie += appel;
        return true;
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
        if (as < 0) return false;
        const int motType = suivant(as, fermante);
        if (motType < 0 || m_jetons[motType].genre != Genre::Ident) return false;
        sortie +=
            texte(nom).toString() + u'(' + traduireArg({ouvrante + 1, as}) + QStringLiteral(" AS ");
        const int dernier = traduireType(motType, fermante, sortie);
        // what follows the type word ("precision", a size) stays
        if (dernier + 1 < fermante) traduirePlage(dernier + 1, fermante, sortie, nullptr);
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
            if (nombre >= 0 && m_jetons[nombre].genre == Genre::Nombre && ferm >= 0 &&
                estOp(ferm, u")")) {
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
        if (estIdentifiantSimple(nom)) return nom.toString();
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
        Passe(*this, debut, fin, sortie, limite).executer();
    }

    // One translation of the tokens [debut, fin[ into sortie.
    class Passe
    {
      public:
        Passe(Traducteur &t, int debut, int fin, QString &sortie, QString *limite)
            : m_t(t), m_debut(debut), m_fin(fin), m_sortie(sortie), m_limite(limite),
              m_placerNulls(t.m_cible != Cible::Sqlite)
        {
        }

        void executer()
        {
            for (int i = m_debut; i < m_fin; ++i) {
                const bool delimiteur = m_placerNulls && m_t.significatif(i) && suivreTris(i);
                i = traduireJeton(i);
                noterCle(i, delimiteur);
            }
            while (!m_tris.isEmpty()) {
                finirCle(m_tris.back());
                m_tris.pop_back();
            }
            if (m_attente >= 0 && m_fin > 0) {
                const Jeton &dernier = m_t.m_jetons[m_fin - 1];
                m_sortie += QStringView(m_t.m_sql).mid(m_attente, dernier.debut + dernier.longueur -
                                                                      m_attente);
            }
        }

      private:
        // Unchanged tokens are copied by runs, not one by one: most of a statement is kept.
        void garder(int k)
        {
            if (m_attente < 0) m_attente = m_t.m_jetons[k].debut;
        }
        void vider(int k)
        {
            if (m_attente >= 0) {
                m_sortie +=
                    QStringView(m_t.m_sql).mid(m_attente, m_t.m_jetons[k].debut - m_attente);
                m_attente = -1;
            }
        }
        void remplacer(int k, const QString &texte)
        {
            vider(k);
            m_sortie += texte;
        }

        // The desktop engine sorts NULLs first in ascending order and last in descending
        // order, as SQLite does; the servers do the opposite unless told, so each sort key
        // of an ORDER BY gets its NULLS clause there.
        struct Tri
        {
            int profondeur, debutCles, dernier;
            bool desc, nulls;
        };

        void finirCle(Tri &tri)
        {
            if (tri.dernier >= 0 && !tri.nulls) {
                const Jeton &j = m_t.m_jetons[tri.dernier];
                const qsizetype apres = j.debut + j.longueur;
                if (m_attente >= 0 && m_attente < apres) {
                    m_sortie += QStringView(m_t.m_sql).mid(m_attente, apres - m_attente);
                    m_attente = apres;
                }
                m_sortie +=
                    tri.desc ? QStringLiteral(" NULLS LAST") : QStringLiteral(" NULLS FIRST");
            }
            tri.dernier = -1;
            tri.desc = tri.nulls = false;
        }

        // Follows the parentheses and the ORDER BY clauses; true when the token ends a sort key.
        bool suivreTris(int i)
        {
            bool delimiteur = false;
            if (m_t.estOp(i, u'(')) {
                ++m_profondeur;
            } else if (m_t.estOp(i, u')')) {
                // The parenthesis closes the group holding the ORDER BY; it still belongs
                // to the sort key of an outer ORDER BY, if any.
                if (!m_tris.isEmpty() && m_tris.back().profondeur == m_profondeur) {
                    finirCle(m_tris.back());
                    m_tris.pop_back();
                }
                --m_profondeur;
            } else if (!m_tris.isEmpty() && m_tris.back().profondeur == m_profondeur) {
                const std::string_view m = m_t.mot(i, m_tampon);
                if (m_t.estOp(i, u',')) {
                    finirCle(m_tris.back());
                    delimiteur = true;
                } else if (m_t.estOp(i, u';') || m == "LIMIT" || m == "OFFSET" || m == "FETCH" ||
                           m == "UNION" || m == "EXCEPT" || m == "INTERSECT" || m == "FOR") {
                    finirCle(m_tris.back());
                    m_tris.pop_back();
                    delimiteur = true;
                }
            }
            if (m_t.mot(i, m_tampon) == "ORDER") {
                const int by = m_t.suivant(i, m_fin);
                if (by >= 0 && m_t.mot(by, m_tampon) == "BY")
                    m_tris.append({m_profondeur, by, -1, false, false});
            }
            return delimiteur;
        }

        void noterCle(int i, bool delimiteur)
        {
            if (m_tris.isEmpty() || delimiteur || !m_t.significatif(i) ||
                i <= m_tris.back().debutCles)
                return;
            Tri &tri = m_tris.back();
            tri.dernier = i;
            if (m_profondeur == tri.profondeur) {
                const std::string_view m = m_t.mot(i, m_tampon);
                if (m == "DESC")
                    tri.desc = true;
                else if (m == "NULLS")
                    tri.nulls = true;
            }
        }

        // Writes or keeps the token at i; the last token consumed.
        int traduireJeton(int i)
        {
            const Jeton &j = m_t.m_jetons[i];
            switch (j.genre) {
            case Genre::Date:
                traduireDate(i);
                return i;
            case Genre::IdentQuote:
                if (m_t.m_sql[j.debut] == u'"' && m_t.m_cible == Cible::Sqlite)
                    garder(i);
                else
                    remplacer(i, m_t.identifiantQuote(i));
                return i;
            case Genre::Param:
                if (m_t.m_numeroter)
                    remplacer(i, u'$' + QString::number(++m_t.m_numeroParam));
                else
                    garder(i);
                return i;
            case Genre::Op:
                traduireOperateur(i);
                return i;
            case Genre::Ident:
                return traduireMot(i);
            default:
                garder(i);
                return i;
            }
        }

        void traduireDate(int i)
        {
            const Jeton &j = m_t.m_jetons[i];
            bool ok = false;
            const QString iso = texteDateIso(m_t.texte(i).mid(1, j.longueur - 2), &ok);
            if (!ok)
                garder(i);
            else if (m_t.m_cible == Cible::Oracle)
                remplacer(i, QStringLiteral("to_date('") + iso +
                                 QStringLiteral("', 'YYYY-MM-DD HH24:MI:SS')"));
            else
                remplacer(i, u'\'' + iso + u'\'');
        }

        void traduireOperateur(int i)
        {
            // "+" next to a text joins texts in the desktop dialect; every engine adds with it.
            if (m_t.estOp(i, u'&') || (m_t.estOp(i, u'+') && m_t.entreTextes(i, m_debut, m_fin)))
                remplacer(i, QStringLiteral("||"));
            else if (m_t.estOp(i, u'/') && !m_t.m_ddl)
                remplacer(i, QStringLiteral("* 1.0 /"));
            else
                garder(i);
        }

        // A dialect function call; the closing parenthesis, or -1 when left as written.
        int traduireAppelFonction(int i, std::string_view m)
        {
            const int k = m_t.suivant(i, m_fin);
            if (m.empty() || k < 0 || !m_t.estOp(k, u"(") || !estFonctionDialecte(m)) return -1;
            const int fermante = m_t.parentheseFermante(k, m_fin);
            QString appel;
            if (fermante <= 0 || !m_t.traduireFonction(m, i, k, fermante, appel)) return -1;
            remplacer(i, appel);
            return fermante;
        }

        int traduireMot(int i)
        {
            const std::string_view mot = majuscules(m_t.texte(i), m_tampon);
            const int fermante = traduireAppelFonction(i, mot);
            if (fermante >= 0) return fermante;
            if (mot == "LIKE" && m_t.m_cible == Cible::Postgres) {
                remplacer(i, QStringLiteral("ILIKE"));
            } else if (mot == "MOD") {
                return traduireModulo(i);
            } else if (mot == "TOP" && m_limite && m_t.estApresSelect(i, m_debut)) {
                return traduireTop(i);
            } else if (m_t.m_ddl && m_t.estPositionType(i, m_debut)) {
                vider(i);
                return m_t.traduireType(i, m_fin, m_sortie);
            } else if (m_t.m_alterTable && mot == "ALTER" && i > m_t.suivant(-1)) {
                vider(i);
                return m_t.traduireAlterColonne(i, m_fin, m_sortie);
            } else if (m_t.m_alterTable && mot == "COLUMN" && m_t.m_cible == Cible::Oracle) {
                return traduireColumnOracle(i);
            } else {
                garder(i);
            }
            return i;
        }

        // "a MOD b" is "a % b", but Oracle has no such operator: there it becomes MOD(a, b)
        // when each side is one name, number or parameter, still unwritten; any other shape
        // keeps "%", which Oracle refuses rather than computing something else.
        int traduireModulo(int i)
        {
            const int g = m_t.precedent(i, m_debut), d = m_t.suivant(i, m_fin);
            auto simple = [&](int k) {
                if (k < 0) return false;
                const Genre genre = m_t.m_jetons[k].genre;
                return genre == Genre::Ident || genre == Genre::Nombre || genre == Genre::Param;
            };
            // A qualified name, a call, or a product next to it (which MOD binds after).
            const int avant = g < 0 ? -1 : m_t.precedent(g, m_debut);
            const int apres = d < 0 ? -1 : m_t.suivant(d, m_fin);
            const bool autreForme = m_t.estOp(avant, u'.') || m_t.estOp(avant, u'*') ||
                                    m_t.estOp(avant, u'/') || m_t.estOp(apres, u'.') ||
                                    m_t.estOp(apres, u'(') || m_t.estOp(apres, u'*') ||
                                    m_t.estOp(apres, u'/');
            if (m_t.m_cible != Cible::Oracle || !simple(g) || !simple(d) || autreForme ||
                m_attente < 0 || m_attente > m_t.m_jetons[g].debut) {
                remplacer(i, QStringLiteral("%"));
                return i;
            }
            vider(g);
            m_sortie += QStringLiteral("MOD(");
            m_sortie += m_t.texte(g);
            m_sortie += QStringLiteral(", ");
            m_sortie += m_t.texte(d);
            m_sortie += u')';
            return d;
        }

        // TOP n becomes the limit written at the end of the statement.
        int traduireTop(int i)
        {
            const int nombre = m_t.suivant(i, m_fin);
            if (nombre < 0 || m_t.m_jetons[nombre].genre != Genre::Nombre) {
                garder(i);
                return i;
            }
            vider(i);
            const QString n = m_t.texte(nombre).toString();
            *m_limite = m_t.m_cible == Cible::Oracle
                            ? QStringLiteral(" FETCH FIRST ") + n + QStringLiteral(" ROWS ONLY")
                            : QStringLiteral(" LIMIT ") + n;
            return sauterEspace(nombre);
        }

        // Oracle writes ADD without COLUMN.
        int traduireColumnOracle(int i)
        {
            const int p = m_t.precedent(i, m_debut);
            if (!(p >= 0 && m_t.mot(p, m_tampon) == "ADD")) {
                garder(i);
                return i;
            }
            vider(i);
            return sauterEspace(i);
        }

        int sauterEspace(int i) const
        {
            return i + 1 < m_fin && m_t.m_jetons[i + 1].genre == Genre::Espace ? i + 1 : i;
        }

        Traducteur &m_t;
        const int m_debut, m_fin;
        QString &m_sortie;
        QString *m_limite;
        const bool m_placerNulls;
        int m_attente = -1;
        int m_profondeur = 0;
        QVarLengthArray<Tri, 2> m_tris;
        std::array<char, 24> m_tampon{};
    };

    // ALTER TABLE t ALTER [COLUMN] c <type>: PostgreSQL wants ALTER COLUMN c TYPE <type>,
    // Oracle MODIFY (c <type>); SQLite keeps the desktop form, which its engine rebuilds.
    int traduireAlterColonne(int i, int fin, QString &sortie)
    {
        std::array<char, 24> t{};
        int col = suivant(i, fin);
        if (col >= 0 && mot(col, t) == "COLUMN") col = suivant(col, fin);
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
        QString nomColonne = m_jetons[col].genre == Genre::IdentQuote ? identifiantQuote(col)
                                                                      : texte(col).toString();
        QString typeCible;
        const int dernier = traduireType(type, fin, typeCible);
        QString reste;
        traduirePlage(dernier + 1, fin, reste, nullptr);
        switch (m_cible) {
        case Cible::Postgres:
            sortie += QStringLiteral("ALTER COLUMN ") + nomColonne + QStringLiteral(" TYPE ") +
                      typeCible + QStringLiteral(" USING cast(") + nomColonne +
                      QStringLiteral(" as ") + typeCible + u')' + reste;
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
        if (motTypeCible(texte(i), m_cible).isNull()) return false;
        const int p = precedent(i, debut);
        if (p < 0) return false;
        if (m_jetons[p].genre == Genre::IdentQuote) return true;
        if (m_jetons[p].genre != Genre::Ident) return false;
        std::array<char, 24> t{};
        const std::string_view m = mot(p, t);
        if (m == "TYPE") return true;
        if (estMotCleDdl(m)) return false;
        // "CREATE TABLE name (" puts the table name two tokens before the first column.
        const int pp = precedent(p, debut);
        return pp >= 0 && (estOp(pp, u"(") || estOp(pp, u",") || mot(pp, t) == "ADD" ||
                           mot(pp, t) == "COLUMN" || mot(pp, t) == "ALTER");
    }

    bool entreTextes(int i, int debut, int fin) const
    {
        const int p = precedent(i, debut);
        const int s = suivant(i, fin);
        return (p >= 0 && m_jetons[p].genre == Genre::Chaine) ||
               (s >= 0 && m_jetons[s].genre == Genre::Chaine);
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
    if (m.empty()) return {};
    const bool sqlite = cible == Cible::Sqlite;
    const bool pg = cible == Cible::Postgres;
    const QString tailleTexte = taille >= 0 ? u'(' + QString::number(taille) + u')' : QString();
    if (m == "TEXT") {
        if (taille >= 0)
            return (sqlite ? QStringLiteral("VARCHAR")
                    : pg   ? QStringLiteral("varchar")
                           : QStringLiteral("varchar2")) +
                   tailleTexte;
        return sqlite ? QStringLiteral("TEXT")
               : pg   ? QStringLiteral("text")
                      : QStringLiteral("varchar2(255)");
    }
    if (m == "MEMO" || m == "LONGTEXT")
        return sqlite ? QStringLiteral("TEXT")
               : pg   ? QStringLiteral("text")
                      : QStringLiteral("varchar2(4000)");
    // "real" keeps only about seven digits: Lambert-93 coordinates would lose their decimals.
    if (m == "DOUBLE" || m == "FLOAT" || m == "SINGLE" || m == "REAL" || m == "CURRENCY")
        return sqlite ? QStringLiteral("DOUBLE")
               : pg   ? QStringLiteral("double precision")
                      : QStringLiteral("Number");
    if (m == "SHORT" || m == "SMALLINT" || m == "BYTE" || m == "TINYINT")
        return sqlite ? QStringLiteral("SMALLINT")
               : pg   ? QStringLiteral("integer")
                      : QStringLiteral("Number");
    if (m == "LONG")
        return sqlite ? QStringLiteral("BIGINT")
               : pg   ? QStringLiteral("bigint")
                      : QStringLiteral("Number");
    if (m == "DATETIME" || m == "DATE")
        return sqlite ? QStringLiteral("DATETIME")
               : pg   ? QStringLiteral("timestamp with time zone")
                      : QStringLiteral("timestamp");
    if (m == "YESNO" || m == "BIT" || m == "LOGICAL")
        return sqlite ? QStringLiteral("BOOLEAN")
               : pg   ? QStringLiteral("boolean")
                      : QStringLiteral("number(1)");
    if (m == "AUTOINCREMENT" || m == "COUNTER" || m == "SERIAL")
        return sqlite ? QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT")
               : pg   ? QStringLiteral("serial")
                      : QStringLiteral("number generated by default as identity");
    return {};
}

bool estIdentifiantSimple(QStringView nom)
{
    if (nom.isEmpty() || nom.size() > 63) return false;
    const char16_t premier = nom.front().unicode();
    if (!((premier >= 'A' && premier <= 'Z') || (premier >= 'a' && premier <= 'z') ||
          premier == '_'))
        return false;
    for (QChar c : nom) {
        const char16_t u = c.unicode();
        if (!((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') ||
              u == '_'))
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
