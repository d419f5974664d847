#include "import/PaquetIntervenants.h"

#include "import/PaquetTables.h"

#include <algorithm>

namespace vyk::paquet {

namespace {

const QString TABLE = QStringLiteral("INTERVENANTS");

// The organisations of the open database by each of their identities; the ones created during
// the import are added as they go, so that two package rows of one organisation make one here.
class Annuaire
{
  public:
    Annuaire()
    {
        const Tableau t = bd().extraire(QStringLiteral(
            "SELECT CodeIntervenant, CodeSandre, SIRET, Nom FROM INTERVENANTS ORDER BY "
            "CodeIntervenant"));
        for (int i = 0; i < t.nbLignes(); ++i)
            ajouter(QVariant(t.valeur(i, QStringLiteral("CodeIntervenant")).toDouble()),
                    t.valeur(i, QStringLiteral("CodeSandre")).toString().trimmed(),
                    t.valeur(i, QStringLiteral("SIRET")).toString().trimmed(),
                    t.valeur(i, QStringLiteral("Nom")).toString().trimmed());
    }

    void ajouter(const QVariant &numero, const QString &sandre, const QString &siret,
                 const QString &nom)
    {
        if (!sandre.isEmpty() && !m_parSandre.contains(sandre)) m_parSandre.insert(sandre, numero);
        if (!siret.isEmpty() && !m_parSiret.contains(siret)) m_parSiret.insert(siret, numero);
        m_nomParNumero.insert(cle(numero), nom);
        if (sandre.isEmpty() && siret.isEmpty() && !m_sansCodeParNom.contains(nom))
            m_sansCodeParNom.insert(nom, numero);
        m_plusGrand = std::max(m_plusGrand, numero.toDouble());
    }

    // The number here of the package's organisation; null when it is not here.
    QVariant trouver(const QString &sandre, const QString &siret) const
    {
        if (const auto it = m_parSandre.constFind(sandre);
            !sandre.isEmpty() && it != m_parSandre.constEnd())
            return *it;
        if (const auto it = m_parSiret.constFind(siret);
            !siret.isEmpty() && it != m_parSiret.constEnd())
            return *it;
        return {};
    }

    // Without any public code the number is trusted only when the name agrees; else the
    // organisation here without code of the same name (the one an earlier import created under
    // another number), so that a second import creates nothing.
    QVariant parNom(const QVariant &numero, const QString &nom) const
    {
        const auto it = m_nomParNumero.constFind(cle(numero));
        if (it != m_nomParNumero.constEnd() && *it == nom) return QVariant(numero.toDouble());
        return m_sansCodeParNom.value(nom);
    }

    // The package's own number when no organisation holds it here, so that a package read into
    // an empty database keeps its numbers; the next number otherwise.
    QVariant numeroLibre(const QVariant &numero) const
    {
        const bool pris = m_nomParNumero.contains(cle(QVariant(numero.toDouble())));
        return Renumerotation::numeroLibre(numero, pris, m_plusGrand);
    }

  private:
    QHash<QString, QVariant> m_parSandre, m_parSiret;
    QHash<QString, QString> m_nomParNumero;
    QHash<QString, QVariant> m_sansCodeParNom; // the smallest number of each name

    double m_plusGrand = 0;
};

} // namespace

QString CorrespondanceIntervenants::etablir(BaseDonnees &paquet, Colonnes &colonnes,
                                            QStringList &crees)
{
    bd().verrouiller(TABLE);
    Annuaire ici;
    const auto trouver = [&](const LignePaquet &l) {
        const QString sandre = l.texte("CodeSandre"), siret = l.texte("SIRET");
        const QVariant n = ici.trouver(sandre, siret);
        if (!n.isNull() || !sandre.isEmpty() || !siret.isEmpty()) return n;
        return ici.parNom(l.numero, l.texte("Nom"));
    };
    const auto creer = [&](const LignePaquet &l) {
        const QString sandre = l.texte("CodeSandre"), siret = l.texte("SIRET");
        const QString nom = l.texte("Nom");
        const QVariant n = ici.numeroLibre(l.numero);
        ici.ajouter(n, sandre, siret, nom);
        crees << (!sandre.isEmpty() ? sandre : !siret.isEmpty() ? siret : nom);
        return n;
    };
    return Renumerotation::etablir(paquet, colonnes, QStringLiteral("CodeIntervenant"), trouver,
                                   creer);
}

QString Renumerotation::LignePaquet::texte(const char *colonne) const
{
    const int c = indexDe(colonnes, QLatin1String(colonne));
    return c < 0 ? QString() : tableau(ligne, c).toString().trimmed();
}

QVariant Renumerotation::numeroLibre(const QVariant &numero, bool pris, double plusGrand)
{
    const double n = numero.toDouble();
    if (n >= 0 && !pris) return QVariant(n);
    return QVariant(std::max(plusGrand, 0.0) + 1);
}

QString Renumerotation::etablir(BaseDonnees &paquet, Colonnes &colonnes, const QString &cleTable,
                                const std::function<QVariant(const LignePaquet &)> &trouver,
                                const std::function<QVariant(const LignePaquet &)> &creer)
{
    m_numeros.clear();
    const QStringList cols = colonnes.de(m_referentiel);
    const int cNumero = indexDe(cols, cleTable);
    if (cNumero < 0 || !paquet.tableExiste(m_referentiel)) return {};
    const Tableau t = paquet.extraire(selectColonnes(cols, m_referentiel) +
                                      QStringLiteral(" ORDER BY ") + cleTable);
    QVector<QVector<QVariant>> nouvelles;
    for (int i = 0; i < t.nbLignes(); ++i) {
        const LignePaquet l{t, cols, i, t(i, cNumero)};
        if (cle(l.numero).isEmpty()) continue;
        QVariant n = trouver(l);
        if (n.isNull()) {
            n = creer(l);
            QVector<QVariant> ligne(t.nbColonnes());
            for (int c = 0; c < t.nbColonnes(); ++c)
                ligne[c] = t(i, c);
            ligne[cNumero] = n;
            nouvelles << ligne;
        }
        m_numeros.insert(cle(l.numero), n);
    }
    return inserer(bd(), m_referentiel, cols, nouvelles);
}

void Renumerotation::reecrire(const QString &table, const QStringList &colonnes,
                              QVector<QVector<QVariant>> &lignes) const
{
    QVector<int> index;
    for (const QString &c : colonnesDe(table))
        if (const int i = indexDe(colonnes, c); i >= 0) index << i;
    if (index.isEmpty()) return;
    for (QVector<QVariant> &ligne : lignes)
        for (const int i : std::as_const(index))
            if (!cle(ligne[i]).isEmpty()) ligne[i] = m_numeros.value(cle(ligne[i]));
}

QStringList Renumerotation::colonnesDe(const QString &table) const
{
    QStringList r;
    for (const Referentiel &ref : referentiels()) {
        if (ref.table != m_referentiel) continue;
        for (const auto &[t, colonne] : ref.usages) {
            const bool famille = t.endsWith(u'*');
            if (famille ? table.startsWith(t.chopped(1), Qt::CaseInsensitive)
                        : table.compare(t, Qt::CaseInsensitive) == 0)
                r << colonne;
        }
    }
    return r;
}

} // namespace vyk::paquet
