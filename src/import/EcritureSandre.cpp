#include "import/EcritureSandre.h"

#include "db/BaseDonnees.h"
#include "db/Outils.h"
#include "import/LectureSandre.h"
#include "schema/Catalogue.h"

namespace vyk {

void ValeursLigne::ajouter(const char *colonne, const QVariant &v)
{
    m_colonnes.append(QString::fromLatin1(colonne));
    m_valeurs.append(v);
}

void ValeursLigne::refuser(const QString &raison)
{
    if (m_erreur.isEmpty()) m_erreur = raison;
}

void ValeursLigne::texte(const char *colonne, const QString &valeur, const QString &element)
{
    const int taille = tailleTexte(m_table, QString::fromLatin1(colonne));
    if (taille > 0 && valeur.size() > taille) {
        refuser(QStringLiteral("la valeur « %1 » de %2 dépasse %3 caractères")
                    .arg(valeur, element)
                    .arg(taille));
        return;
    }
    ajouter(colonne, valeur.isEmpty() ? QVariant() : QVariant(valeur));
}

void ValeursLigne::nombre(const char *colonne, const QString &valeur, const QString &element)
{
    const Nombre n = enNombre(valeur, true);
    if (n.estErreur()) {
        refuser(QStringLiteral("la valeur « %1 » de %2 n'est pas un nombre").arg(valeur, element));
        return;
    }
    ajouter(colonne, n.variant());
}

void ValeursLigne::texte(const char *colonne, const NoeudXml *n)
{
    if (!n) return;
    n->lu = true;
    texte(colonne, n->texte, n->nom);
}

void ValeursLigne::nombre(const char *colonne, const NoeudXml *n)
{
    if (!n) return;
    n->lu = true;
    nombre(colonne, n->texte, n->nom);
}

void ValeursLigne::date(const char *colonne, const NoeudXml *n, bool finOuverte)
{
    if (!n) return;
    n->lu = true;
    const QString jour = dateSandre(n->texte);
    if (jour.isEmpty() || (finOuverte && jour == FIN_OUVERTE_SANDRE)) {
        ajouter(colonne, QVariant());
        return;
    }
    const QDateTime d = lireDate(jour);
    if (!d.isValid()) {
        refuser(QStringLiteral("la valeur « %1 » de %2 n'est pas une date").arg(n->texte, n->nom));
        return;
    }
    ajouter(colonne, d);
}

bool ValeursLigne::inserer(QString &erreur) const
{
    QStringList marques;
    for (int i = 0; i < m_colonnes.size(); ++i)
        marques.append(QStringLiteral("?"));
    return executerLie(QStringLiteral("INSERT INTO ") + m_table + QStringLiteral(" (") +
                           m_colonnes.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                           marques.join(QStringLiteral(", ")) + QLatin1Char(')'),
                       m_valeurs, erreur);
}

bool ValeursLigne::mettreAJour(const QString &cle, const QVariant &valeurCle, QString &erreur) const
{
    if (m_colonnes.isEmpty()) return true;
    QStringList affectations;
    for (const QString &c : m_colonnes)
        affectations.append(c + QStringLiteral(" = ?"));
    QVector<QVariant> valeurs = m_valeurs;
    valeurs.append(valeurCle);
    return executerLie(QStringLiteral("UPDATE ") + m_table + QStringLiteral(" SET ") +
                           affectations.join(QStringLiteral(", ")) + QStringLiteral(" WHERE ") +
                           cle + QStringLiteral(" = ?"),
                       valeurs, erreur);
}

bool executerLie(const QString &sql, const QVector<QVariant> &valeurs, QString &erreur)
{
    InstructionPreparee i = bd().preparer(sql);
    if (i.executer(valeurs)) return true;
    erreur = i.erreur().isEmpty() ? bd().derniereErreur() : i.erreur();
    return false;
}

QVariant lireLie(const QString &sql, const QVector<QVariant> &valeurs)
{
    InstructionPreparee i = bd().preparer(sql);
    Tableau t;
    if (!i.extraire(t, valeurs) || t.estVide()) return {};
    return t(0, 0);
}

} // namespace vyk
