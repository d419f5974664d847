#include "import/classeurs/LectureClasseur.h"

#include "db/CleColonne.h"

namespace vyk {

QString cleNom(const QString &nom)
{
    QString d = nom.normalized(QString::NormalizationForm_D);
    QString r;
    r.reserve(d.size());
    for (const QChar c : std::as_const(d)) {
        if (c.category() == QChar::Mark_NonSpacing) continue;
        if (c == QChar(0x2019) || c == QChar(0x2018) || c == QChar(0x00B4)) {
            r += u'\'';
            continue;
        }
        r += c.toUpper();
    }
    return r.simplified();
}

bool estNonCommunique(const QString &texte)
{
    const QString t = texte.trimmed().toUpper();
    return t == QLatin1String("-") || t == QLatin1String("N.C.") || t == QLatin1String("N.C") ||
           t == QLatin1String("NC");
}

QString texteUtile(const Feuille &feuille, int ligne, int colonne)
{
    const QString t = feuille.texte(ligne, colonne).trimmed();
    return estNonCommunique(t) ? QString() : t;
}

QString refusCellule(const QString &feuille, int ligne, int colonne, const QString &quoi,
                     const QString &raison)
{
    QString nom;
    for (int c = colonne; c > 0; c = (c - 1) / 26)
        nom.prepend(QChar(char16_t(u'A' + (c - 1) % 26)));
    return QStringLiteral("Feuille « %1 », cellule %2%3 (%4) : %5")
        .arg(feuille, nom, QString::number(ligne), quoi, raison);
}

std::optional<Classeur> ouvrirClasseur(const QString &chemin, QString &erreur)
{
    Classeur c;
    if (!c.ouvrir(chemin)) {
        erreur = texteClasseurs::ILLISIBLE;
        return std::nullopt;
    }
    return c;
}

const Feuille *feuilleDe(const Classeur &classeur, const QString &nom, const ChoixFeuille &choisir,
                         QString &erreur, const QString &message)
{
    if (!nom.isEmpty()) {
        if (const Feuille *f = classeur.feuille(nom)) return f;
        const QString cle = cleNom(nom);
        for (int i = 1; i <= classeur.nombreFeuilles(); ++i)
            if (cleNom(classeur.feuille(i)->nom()) == cle) return classeur.feuille(i);
    }
    if (choisir) {
        const QString choix = choisir(classeur.feuilles());
        if (!choix.isEmpty())
            if (const Feuille *f = classeur.feuille(choix)) return f;
    } else if (nom.isEmpty() && classeur.nombreFeuilles() > 0) {
        return classeur.feuille(1);
    }
    erreur = message.isEmpty() ? texteClasseurs::feuilleAbsente(classeur.chemin()) : message;
    return nullptr;
}

std::optional<Feuille> lireClasseur(const QString &chemin, const QString &feuille,
                                    const ChoixFeuille &choisir, QString &erreur)
{
    const std::optional<Classeur> c = ouvrirClasseur(chemin, erreur);
    if (!c) return std::nullopt;
    const Feuille *f = feuilleDe(*c, feuille, choisir, erreur);
    if (!f) return std::nullopt;
    return *f;
}

int EnTete::colonne(std::initializer_list<const char *> cherches) const
{
    for (const char *n : cherches) {
        const int c = colonnes.value(cleColonne(QString::fromUtf8(n)));
        if (c > 0) return c;
    }
    return 0;
}

EnTete chercherEnTete(const Feuille &feuille, const QStringList &requis, int lignesMax,
                      int ligneDebut)
{
    EnTete e;
    const int fin = qMin(ligneDebut + lignesMax - 1, feuille.derniereLigne());
    for (int l = ligneDebut; l <= fin; ++l) {
        QHash<QString, int> colonnes;
        QStringList noms{QString()};
        for (int c = 1; c <= feuille.derniereColonne(); ++c) {
            const QString t = feuille.texte(l, c).trimmed();
            noms << t;
            if (!t.isEmpty() && !colonnes.contains(cleColonne(t)))
                colonnes.insert(cleColonne(t), c);
        }
        bool complet = true;
        for (const QString &r : requis)
            complet = complet && colonnes.contains(cleColonne(r));
        if (complet) {
            e.ligne = l;
            e.colonnes = std::move(colonnes);
            e.noms = std::move(noms);
            return e;
        }
    }
    return e;
}

} // namespace vyk
