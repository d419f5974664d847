#include "db/LexiqueSql.h"

#include <QDate>
#include <QTime>

#include <algorithm>

namespace vyk::lexique {

namespace {

bool estAsciiLettre(char16_t u)
{
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}
bool estDebutIdent(QChar c)
{
    const char16_t u = c.unicode();
    return u < 128 ? estAsciiLettre(u) || u == '_' : c.isLetter();
}
bool estSuiteIdent(QChar c)
{
    const char16_t u = c.unicode();
    return u < 128 ? estAsciiLettre(u) || (u >= '0' && u <= '9') || u == '_' || u == '$'
                   : c.isLetterOrNumber();
}
bool estEspace(QChar c)
{
    const char16_t u = c.unicode();
    return u < 128 ? u == ' ' || (u >= '\t' && u <= '\r') : c.isSpace();
}
bool estChiffre(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

bool ressembleDate(QStringView contenu)
{
    if (contenu.isEmpty() || contenu.size() > 22) return false;
    for (QChar c : contenu)
        if (!(c.isDigit() || c == u'/' || c == u'-' || c == u':' || c == u' ' || c == u'.'))
            return false;
    return contenu.front().isDigit();
}

} // namespace

void decouper(QStringView s, Jetons &jetons)
{
    const int n = int(s.size());
    int i = 0;
    while (i < n) {
        const QChar c = s[i];
        const int debut = i;
        if (estEspace(c)) {
            while (i < n && estEspace(s[i]))
                ++i;
            jetons.append({Genre::Espace, debut, i - debut});
        } else if (c == u'-' && i + 1 < n && s[i + 1] == u'-') {
            while (i < n && s[i] != u'\n')
                ++i;
            jetons.append({Genre::Commentaire, debut, i - debut});
        } else if (c == u'/' && i + 1 < n && s[i + 1] == u'*') {
            i += 2;
            while (i + 1 < n && !(s[i] == u'*' && s[i + 1] == u'/'))
                ++i;
            i = std::min(n, i + 2);
            jetons.append({Genre::Commentaire, debut, i - debut});
        } else if (c == u'\'') {
            ++i;
            while (i < n) {
                if (s[i] == u'\'') {
                    if (i + 1 < n && s[i + 1] == u'\'') {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            jetons.append({Genre::Chaine, debut, i - debut});
        } else if (c == u'"' || c == u'`' || c == u'[') {
            const QChar fin = c == u'[' ? QChar(u']') : c;
            ++i;
            while (i < n && s[i] != fin)
                ++i;
            i = std::min(n, i + 1);
            jetons.append({Genre::IdentQuote, debut, i - debut});
        } else if (c == u'#') {
            int j = i + 1;
            while (j < n && s[j] != u'#' && s[j] != u'\n')
                ++j;
            if (j < n && s[j] == u'#' && ressembleDate(s.mid(i + 1, j - i - 1))) {
                i = j + 1;
                jetons.append({Genre::Date, debut, i - debut});
            } else {
                ++i;
                jetons.append({Genre::Op, debut, 1, u'#'});
            }
        } else if (estDebutIdent(c)) {
            ++i;
            while (i < n && estSuiteIdent(s[i]))
                ++i;
            jetons.append({Genre::Ident, debut, i - debut});
        } else if (estChiffre(c) || (c == u'.' && i + 1 < n && estChiffre(s[i + 1]))) {
            while (i < n && (estChiffre(s[i]) || s[i] == u'.'))
                ++i;
            if (i < n && (s[i] == u'e' || s[i] == u'E')) {
                int j = i + 1;
                if (j < n && (s[j] == u'+' || s[j] == u'-')) ++j;
                if (j < n && s[j].isDigit()) {
                    i = j;
                    while (i < n && s[i].isDigit())
                        ++i;
                }
            }
            jetons.append({Genre::Nombre, debut, i - debut});
        } else if (c == u'?') {
            ++i;
            jetons.append({Genre::Param, debut, 1});
        } else {
            // Two-character operators are kept together so that "::" or "<>" stay whole.
            static constexpr std::array<std::u16string_view, 7> doubles = {
                u"::", u"<>", u"<=", u">=", u"!=", u"||", u"->"};
            int longueur = 1;
            if (i + 1 < n) {
                const char16_t paire[2] = {c.unicode(), s[i + 1].unicode()};
                const std::u16string_view vue(paire, 2);
                if (std::find(doubles.begin(), doubles.end(), vue) != doubles.end()) longueur = 2;
            }
            i += longueur;
            jetons.append({Genre::Op, debut, longueur, c.unicode(),
                           longueur == 2 ? s[debut + 1].unicode() : char16_t(0)});
        }
    }
}

// Upper-cased ASCII copy of a short word; empty when the word is too long or not ASCII.
std::string_view majuscules(QStringView mot, std::array<char, 24> &tampon)
{
    if (mot.size() >= qsizetype(tampon.size())) return {};
    for (qsizetype k = 0; k < mot.size(); ++k) {
        const char16_t u = mot[k].unicode();
        if (u > 127) return {};
        tampon[k] = char(u >= 'a' && u <= 'z' ? u - 32 : u);
    }
    return {tampon.data(), size_t(mot.size())};
}

// Reads a desktop date literal's content: month first (M/D/YYYY) or ISO (YYYY-M-D), with an
// optional time. Hand-written: it runs on every dated row of an import.
QString texteDateIso(QStringView contenu, bool *ok)
{
    *ok = false;
    const QStringView t = contenu.trimmed();
    int champs[6] = {0, 0, 0, 0, 0, 0};
    int n = 0;
    int chiffres = 0;
    QChar separateurDate;
    for (qsizetype i = 0; i <= t.size(); ++i) {
        const QChar c = i < t.size() ? t[i] : QChar(u' ');
        if (c.isDigit()) {
            if (n >= 6 || ++chiffres > 4) return {};
            champs[n] = champs[n] * 10 + c.digitValue();
            continue;
        }
        if (chiffres == 0) {
            if (c == u' ' && n >= 3) continue;
            return {};
        }
        if (n < 2) {
            if (c != u'/' && c != u'-') return {};
            if (separateurDate.isNull())
                separateurDate = c;
            else if (c != separateurDate)
                return {};
        } else if (n == 2 || n == 5) {
            if (c != u' ' && c != u'T') return {};
        } else if (c != u':' && !(c == u' ' && i == t.size())) {
            return {};
        }
        ++n;
        chiffres = 0;
    }
    if (n < 3 || n == 4) return {};
    int annee, mois, jour;
    if (champs[0] >= 1000) {
        annee = champs[0];
        mois = champs[1];
        jour = champs[2];
    } else {
        mois = champs[0];
        jour = champs[1];
        annee = champs[2];
    }
    const QDate date(annee, mois, jour);
    const QTime heure(champs[3], champs[4], champs[5]);
    if (annee < 100 || !date.isValid() || !heure.isValid()) return {};
    *ok = true;
    char16_t r[19] = {0, 0, 0, 0, u'-', 0, 0, u'-', 0, 0, u' ', 0, 0, u':', 0, 0, u':', 0, 0};
    auto deux = [&](int position, int v) {
        r[position] = char16_t(u'0' + v / 10);
        r[position + 1] = char16_t(u'0' + v % 10);
    };
    deux(0, annee / 100);
    deux(2, annee % 100);
    deux(5, mois);
    deux(8, jour);
    deux(11, champs[3]);
    deux(14, champs[4]);
    deux(17, champs[5]);
    return QString(reinterpret_cast<const QChar *>(r), 19);
}

} // namespace vyk::lexique
