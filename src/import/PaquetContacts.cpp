#include "import/PaquetContacts.h"

#include "db/Sql.h"
#include "import/PaquetTables.h"

#include <algorithm>

namespace vyk::paquet {

namespace {

const QString TABLE = QStringLiteral("CONTACTS");

// What tells one person from another.
struct Personne
{
    QString nom;      // name and company name, folded; "" when both are empty
    QString courriel; // folded; "" when none
    QString reste;    // every other column, for a person with neither name nor address

    bool anonyme() const { return nom.isEmpty() && courriel.isEmpty(); }

    // A name is enough when one of the two has no address; two addresses must agree.
    bool meme(const Personne &autre) const
    {
        if (anonyme() || autre.anonyme())
            return anonyme() && autre.anonyme() && reste == autre.reste;
        if (nom != autre.nom) return false;
        return courriel.isEmpty() || autre.courriel.isEmpty() || courriel == autre.courriel;
    }
    // Where to look for it among the persons here.
    QString cleRecherche() const { return anonyme() ? u'\x01' + reste : nom; }
};

Personne personne(const std::function<QVariant(const QString &)> &valeur,
                  const QStringList &colonnes)
{
    Personne p;
    const auto texte = [&](const char *c) {
        return valeur(QLatin1String(c)).toString().simplified().toCaseFolded();
    };
    const QString nom = texte("Nom"), raison = texte("RaisonSocial");
    if (!nom.isEmpty() || !raison.isEmpty()) p.nom = nom + u'|' + raison;
    p.courriel = texte("Email");
    if (!p.anonyme()) return p;
    QStringList reste;
    for (const QString &c : colonnes)
        if (c.compare(QLatin1String("CodeContact"), Qt::CaseInsensitive) != 0)
            reste << cle(valeur(c)).trimmed();
    p.reste = reste.join(u'\x1f');
    return p;
}

// The persons of the open database; the ones created during the import are added as they go.
class Repertoire
{
  public:
    explicit Repertoire(const QStringList &colonnes) : m_colonnes(colonnes)
    {
        const Tableau t = bd().extraire(selectColonnes(colonnes, TABLE) +
                                        QStringLiteral(" ORDER BY CodeContact"));
        const int cNumero = indexDe(colonnes, QStringLiteral("CodeContact"));
        for (int i = 0; i < t.nbLignes(); ++i)
            ajouter(QVariant(t(i, cNumero).toDouble()), personne(valeurs(t, i), colonnes));
    }

    std::function<QVariant(const QString &)> valeurs(const Tableau &t, int i) const
    {
        return [&t, i, this](const QString &c) {
            const int k = indexDe(m_colonnes, c);
            return k < 0 ? QVariant() : t(i, k);
        };
    }

    void ajouter(const QVariant &numero, const Personne &p)
    {
        m_parNumero.insert(cle(numero), p);
        m_parCle[p.cleRecherche()] << qMakePair(numero, p);
        m_plusGrand = std::max(m_plusGrand, numero.toDouble());
    }

    // The same number when it names the same person here; else the person here with the same
    // address, else the first one the same by name; null when none.
    QVariant trouver(const QVariant &numero, const Personne &p) const
    {
        const auto it = m_parNumero.constFind(cle(numero));
        if (it != m_parNumero.constEnd() && it->meme(p)) return QVariant(numero.toDouble());
        const auto candidats = m_parCle.value(p.cleRecherche());
        for (const auto &[n, ici] : candidats)
            if (!p.courriel.isEmpty() && ici.courriel == p.courriel && ici.meme(p)) return n;
        for (const auto &[n, ici] : candidats)
            if (ici.meme(p)) return n;
        return {};
    }

    QVariant numeroLibre(const QVariant &numero) const
    {
        const bool pris = m_parNumero.contains(cle(QVariant(numero.toDouble())));
        return Renumerotation::numeroLibre(numero, pris, m_plusGrand);
    }

  private:
    const QStringList &m_colonnes;
    QHash<QString, Personne> m_parNumero;
    QHash<QString, QVector<QPair<QVariant, Personne>>> m_parCle; // in number order
    double m_plusGrand = 0;
};

} // namespace

QString CorrespondanceContacts::etablir(BaseDonnees &paquet, Colonnes &colonnes, QStringList &crees)
{
    const QStringList &cols = colonnes.de(m_referentiel);
    if (cols.isEmpty()) return {};
    bd().verrouiller(TABLE);
    Repertoire ici(cols);
    const auto lue = [&](const LignePaquet &l) {
        return personne(ici.valeurs(l.tableau, l.ligne), cols);
    };
    const auto trouver = [&](const LignePaquet &l) { return ici.trouver(l.numero, lue(l)); };
    const auto creer = [&](const LignePaquet &l) {
        const QVariant n = ici.numeroLibre(l.numero);
        ici.ajouter(n, lue(l));
        QString nom = l.texte("Nom");
        for (const char *c : {"RaisonSocial", "Email"})
            if (nom.isEmpty()) nom = l.texte(c);
        crees << (nom.isEmpty() ? QStringLiteral("n° ") + cle(l.numero) : nom);
        return n;
    };
    return Renumerotation::etablir(paquet, colonnes, QStringLiteral("CodeContact"), trouver, creer);
}

} // namespace vyk::paquet
