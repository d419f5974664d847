#include "import/EcritureSandre.h"

#include "db/BaseDonnees.h"
#include "db/Outils.h"
#include "import/IntegrationAnalyses.h"
#include "import/LectureSandre.h"
#include "monitoring/Qualitometre.h"
#include "monitoring/SuppressionQualitometre.h"
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

bool ValeursLigne::mettreAJour(const QStringList &cles, const QVector<QVariant> &valeursCles,
                               QString &erreur) const
{
    if (m_colonnes.isEmpty()) return true;
    const auto egalites = [](const QStringList &colonnes) {
        QStringList e;
        for (const QString &c : colonnes)
            e.append(c + QStringLiteral(" = ?"));
        return e;
    };
    return executerLie(QStringLiteral("UPDATE ") + m_table + QStringLiteral(" SET ") +
                           egalites(m_colonnes).join(QStringLiteral(", ")) +
                           QStringLiteral(" WHERE ") + egalites(cles).join(QStringLiteral(" AND ")),
                       m_valeurs + valeursCles, erreur);
}

qint64 creerStationSandre(const QString &code, const QString &designation, const QString &nom,
                          const QString &typeStation, QString &erreur)
{
    const int taille = tailleTexte(u"QUALITOMETRES", u"CodeBSS");
    if (code.size() > taille) {
        erreur = QStringLiteral("le code « %1 » dépasse %2 caractères").arg(code).arg(taille);
        return -1;
    }
    if (const QString refus = verifierCodeTable(code); !refus.isEmpty()) {
        erreur = refus;
        return -1;
    }
    const qint64 nouveau = creerQualitometre(code, designation, TYPE_STATION_DEFAUT);
    if (nouveau < 0) {
        erreur = bd().derniereErreur();
        return -1;
    }
    ValeursLigne v(QStringLiteral("QUALITOMETRES"));
    if (!nom.isEmpty()) v.texte("Nom", nom, QStringLiteral("nom de la station"));
    if (!typeStation.isEmpty()) v.valeur("typeStation", typeStation);
    erreur = v.erreur();
    if (!erreur.isEmpty() ||
        !v.mettreAJour({QStringLiteral("CodeQualitometre")}, {nouveau}, erreur))
        return -1;
    return nouveau;
}

bool purgerDonneesStation(qint64 station, const QString &codeBSS, QString &erreur)
{
    const ResultatSuppression r =
        supprimerQualitometre(QString::number(station), codeBSS, nullptr, false, true);
    if (r.effectuee && r.echecs.isEmpty()) return true;
    erreur = r.echec.isEmpty() ? r.echecs.value(0) : r.echec;
    return false;
}

QString resoudreMasseEau(const QString &code, const QString &libelle, QString &erreur)
{
    static const char *const recherches[] = {
        "SELECT Code_ME FROM MASSES_EAUX WHERE Code_ME = ?",
        "SELECT Code_ME FROM MASSES_EAUX WHERE Code_Europeen = ?",
        "SELECT Code_ME FROM MASSES_EAUX WHERE Code_ME = ?",
    };
    for (int i = 0; i < 3; ++i) {
        const QVariant trouve = lireLie(QString::fromLatin1(recherches[i]),
                                        {i == 2 ? QStringLiteral("FR") + code : code});
        if (!trouve.isNull()) return trouve.toString();
    }
    ValeursLigne v(QStringLiteral("MASSES_EAUX"));
    v.texte("Code_ME", code, QStringLiteral("CdMasseDEau"));
    v.texte("Libelle", libelle.isEmpty() ? code : libelle,
            QStringLiteral("libellé de la masse d'eau"));
    erreur = v.erreur();
    if (!erreur.isEmpty() || !v.inserer(erreur)) return {};
    return code;
}

bool lierMassesEau(qint64 station, const QStringList &codes, const QStringList &libelles,
                   QString &erreur)
{
    if (!executerLie(
            QStringLiteral("DELETE FROM LIEN_QUALITO_MASSE_EAU WHERE CodeQualitometre = ?"),
            {station}, erreur))
        return false;
    QStringList lies;
    for (int i = 0; i < codes.size(); ++i) {
        const QString me = resoudreMasseEau(codes[i], libelles.value(i), erreur);
        if (me.isEmpty()) return false;
        if (lies.contains(me)) continue;
        lies.append(me);
        if (!executerLie(QStringLiteral("INSERT INTO LIEN_QUALITO_MASSE_EAU (CodeQualitometre, "
                                        "Code_ME) VALUES (?, ?)"),
                         {station, me}, erreur))
            return false;
    }
    return true;
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
