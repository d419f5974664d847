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
            ajouter(QVariant(t(i, 0).toDouble()), texte(t(i, 1)), texte(t(i, 2)), texte(t(i, 3)));
    }

    static QString texte(const QVariant &v) { return v.toString().trimmed(); }

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
        const double n = numero.toDouble();
        if (n >= 0 && !m_nomParNumero.contains(cle(QVariant(n)))) return QVariant(n);
        return QVariant(std::max(m_plusGrand, 0.0) + 1);
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
    m_numeros.clear();
    const QStringList cols = colonnes.de(TABLE);
    const int cNumero = indexDe(cols, QStringLiteral("CodeIntervenant"));
    if (cNumero < 0 || !paquet.tableExiste(TABLE)) return {};
    const Tableau t =
        paquet.extraire(selectColonnes(cols, TABLE) + QStringLiteral(" ORDER BY CodeIntervenant"));
    if (t.estVide()) return {};
    const auto texte = [&](int i, const char *colonne) {
        const int c = indexDe(cols, QLatin1String(colonne));
        return c < 0 ? QString() : Annuaire::texte(t(i, c));
    };
    bd().verrouiller(TABLE);
    Annuaire ici;
    QVector<QVector<QVariant>> nouvelles;
    for (int i = 0; i < t.nbLignes(); ++i) {
        const QVariant numero = t(i, cNumero);
        if (cle(numero).isEmpty()) continue;
        const QString sandre = texte(i, "CodeSandre"), siret = texte(i, "SIRET");
        const QString nom = texte(i, "Nom");
        QVariant n = ici.trouver(sandre, siret);
        if (n.isNull() && sandre.isEmpty() && siret.isEmpty()) n = ici.parNom(numero, nom);
        if (n.isNull()) {
            n = ici.numeroLibre(numero);
            QVector<QVariant> ligne(t.nbColonnes());
            for (int c = 0; c < t.nbColonnes(); ++c)
                ligne[c] = t(i, c);
            ligne[cNumero] = n;
            nouvelles << ligne;
            ici.ajouter(n, sandre, siret, nom);
            crees << (!sandre.isEmpty() ? sandre : !siret.isEmpty() ? siret : nom);
        }
        m_numeros.insert(cle(numero), n);
    }
    return inserer(bd(), TABLE, cols, nouvelles);
}

void CorrespondanceIntervenants::reecrire(const QString &table, const QStringList &colonnes,
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

QStringList CorrespondanceIntervenants::colonnesDe(const QString &table)
{
    QStringList r;
    for (const Referentiel &ref : referentiels()) {
        if (ref.table != TABLE) continue;
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
