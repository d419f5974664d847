#include "referentials/ListesCodees.h"

#include "db/BaseDonnees.h"
#include "db/ChampDecrit.h"
#include "db/Session.h"
#include "db/Sql.h"
#include "users/AccesStations.h"

#include <algorithm>

namespace vyk {

namespace {

const QString INDENTATION = QStringLiteral("    ");

// Numbers before texts, numbers by value, texts as texts: "2" < "11" < "A".
bool codeAvant(const QString &a, const QString &b)
{
    bool okA = false, okB = false;
    const double na = a.toDouble(&okA);
    const double nb = b.toDouble(&okB);
    if (okA && okB) return na < nb || (na == nb && a < b);
    if (okA != okB) return okA;
    return a < b;
}

QString texteCode(const QVariant &v)
{
    if (v.isNull()) return {};
    return texteValeur(v);
}

} // namespace

QString texteEntree(const QString &libelle, const QString &code, int largeur)
{
    QString t = libelle;
    if (t.size() < largeur) t += QString(largeur - t.size(), u' ');
    return t + QStringLiteral(" [") + code + u']';
}

QString texteEntreeVide(int blancs)
{
    return QString(std::max(blancs, 0), u' ') + QStringLiteral("[]");
}

QString EntreeCodee::texte(int largeur) const
{
    if (estTous()) return TEXTE_TOUS;
    if (code.isEmpty() && libelle.trimmed().isEmpty()) return texteEntreeVide();
    QString l = libelle;
    for (int i = 0; i < niveau; ++i)
        l.prepend(INDENTATION);
    return texteEntree(l, code, largeur);
}

QString codeEntree(const QString &texte)
{
    return codeSaisi(texte);
}

QString libelleEntree(const QString &texte)
{
    const qsizetype ouvrant = texte.lastIndexOf(u'[');
    if (ouvrant < 0 || texte.indexOf(u']', ouvrant + 1) < 0) return texte;
    QString l = texte.left(ouvrant);
    while (!l.isEmpty() && l.back().isSpace())
        l.chop(1);
    return l;
}

QString codePourLike(const QString &code)
{
    return code == CODE_TOUS ? QStringLiteral("%") : code;
}

int largeurEntrees(const EntreesCodees &entrees)
{
    int largeur = 0;
    for (const EntreeCodee &e : entrees)
        largeur = std::max<int>(largeur, int(e.libelle.size()) + 4 * e.niveau);
    return largeur + 1;
}

EntreesCodees entreesRequete(const QString &sql)
{
    const Tableau t = bd().extraire(sql);
    EntreesCodees r;
    r.reserve(t.nbLignes());
    for (int i = 0; i < t.nbLignes(); ++i)
        r.append({texteCode(t(i, 1)), t.texte(i, 0), 0});
    return r;
}

EntreesCodees entreesStationsAccessibles(const QString &separateur)
{
    // A user restricted to some stations is offered those only.
    const QString acces =
        session().estConnecte()
            ? conditionAccesStations(QStringLiteral("QUALITOMETRES.CodeQualitometre"))
            : QString();
    const Tableau t =
        bd().extraire(QStringLiteral("SELECT CodeQualitometre, CodeBSS, Nom FROM QUALITOMETRES") +
                      (acces.isEmpty() ? QString() : QStringLiteral(" WHERE ") + acces) +
                      QStringLiteral(" ORDER BY CodeBSS"));
    EntreesCodees entrees;
    entrees.reserve(t.nbLignes());
    for (int l = 0; l < t.nbLignes(); ++l)
        entrees.append({t.texte(l, QStringLiteral("CodeQualitometre")),
                        (t.texte(l, QStringLiteral("CodeBSS")) + separateur +
                         t.texte(l, QStringLiteral("Nom")))
                            .trimmed(),
                        0});
    return entrees;
}

EntreesCodees entreesListe(const QString &champ, OrdreEntrees ordre)
{
    return entreesRequete(QStringLiteral("SELECT Libelle, Code FROM Codes_Sandre WHERE Champ=") +
                          sqlTexte(champ) +
                          (ordre == OrdreEntrees::Libelle ? QStringLiteral(" ORDER BY Libelle ASC")
                                                          : QStringLiteral(" ORDER BY Code ASC")));
}

EntreesCodees trierHierarchie(QVector<ElementHierarchique> elements)
{
    // Key of the order: (code of the parent, child?, own code), as the SQL key
    // parent "_" child does, with numbers compared as numbers.
    std::stable_sort(elements.begin(), elements.end(),
                     [](const ElementHierarchique &a, const ElementHierarchique &b) {
                         const QString &groupeA = a.parent.isEmpty() ? a.code : a.parent;
                         const QString &groupeB = b.parent.isEmpty() ? b.code : b.parent;
                         if (groupeA != groupeB) return codeAvant(groupeA, groupeB);
                         const bool enfantA = !a.parent.isEmpty(), enfantB = !b.parent.isEmpty();
                         if (enfantA != enfantB) return !enfantA;
                         return codeAvant(a.code, b.code);
                     });
    EntreesCodees r;
    r.reserve(elements.size());
    for (const ElementHierarchique &e : elements)
        r.append({e.code, e.libelle, e.parent.isEmpty() ? 0 : 1});
    return r;
}

EntreesCodees entreesHierarchiques(const QString &champ)
{
    const QString condition = champ.contains(u'%') ? QStringLiteral("Champ LIKE ") + sqlTexte(champ)
                                                   : QStringLiteral("Champ=") + sqlTexte(champ);
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT Libelle, Code, codeReference FROM Codes_Sandre WHERE ") + condition);
    QVector<ElementHierarchique> elements;
    elements.reserve(t.nbLignes());
    for (int i = 0; i < t.nbLignes(); ++i)
        elements.append({texteCode(t.valeur(i, QStringLiteral("Code"))),
                         t.texte(i, QStringLiteral("Libelle")),
                         t.texte(i, QStringLiteral("codeReference")).trimmed()});
    return trierHierarchie(std::move(elements));
}

QString cleTriHierarchique()
{
    return QStringLiteral("iif(codeReference is null, cstr(code), codeReference) & '_' & "
                          "iif(codeReference is null, '', cstr(code))");
}

QString libelleCode(const QString &champ, const QVariant &code)
{
    const QString c = texteCode(code).trimmed();
    if (c.isEmpty()) return {};
    bool numerique = false;
    const double n = c.toDouble(&numerique);
    if (!numerique) return {};
    return bd()
        .valeur(QStringLiteral("SELECT Libelle FROM Codes_Sandre WHERE Champ=") + sqlTexte(champ) +
                QStringLiteral(" AND Code=") + sqlNombre(n))
        .toString();
}

QHash<QString, QString> libellesListe(const QString &champ)
{
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT Code, Libelle FROM Codes_Sandre WHERE Champ=") + sqlTexte(champ));
    QHash<QString, QString> r;
    r.reserve(t.nbLignes());
    for (int i = 0; i < t.nbLignes(); ++i)
        r.insert(texteCode(t.valeur(i, QStringLiteral("Code"))),
                 t.texte(i, QStringLiteral("Libelle")));
    return r;
}

EntreesCodees entreesStatut()
{
    return {{QStringLiteral("0"), QStringLiteral("Proposition"), 0},
            {QStringLiteral("1"), QStringLiteral("Provisoire"), 0},
            {QStringLiteral("2"), QStringLiteral("Validé"), 0},
            {QStringLiteral("3"), QStringLiteral("Code gelé"), 0}};
}

QString libelleStatut(const QVariant &code)
{
    const QString c = texteCode(code).trimmed();
    for (const EntreeCodee &e : entreesStatut())
        if (e.code == c) return e.libelle;
    return {};
}

int statutDepuisTexte(const QString &texte)
{
    const QString t = texte.trimmed().toLower();
    if (t.isEmpty()) return -1;
    bool ok = false;
    const int n = t.toInt(&ok);
    if (ok) return n >= 0 && n <= 3 ? n : -1;
    if (t.startsWith(QStringLiteral("propos"))) return 0;
    if (t.startsWith(QStringLiteral("provis"))) return 1;
    if (t.startsWith(QStringLiteral("valid"))) return 2;
    if (t.contains(QStringLiteral("gel"))) return 3;
    return -1;
}

} // namespace vyk
