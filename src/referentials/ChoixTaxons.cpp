#include "referentials/ChoixTaxons.h"

#include "app/Options.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "db/Messages.h"
#include "db/Outils.h"
#include "db/Sql.h"

#include <QHash>
#include <QSet>

namespace vyk {

namespace {

// The theme condition of a code ("" for every theme).
QString conditionTheme(const QString &theme)
{
    const QString t = theme.trimmed();
    if (t.isEmpty() || t == CODE_TOUS) return {};
    if (t == QLatin1String("0")) return QStringLiteral(" AND (theme=0 OR theme IS NULL)");
    const Nombre n = enNombre(t, true);
    return n.estNombre() ? QStringLiteral(" AND theme=") + sqlNombre(n.valeur) : QString();
}

// The family and every taxon below it (parents by elementDe).
QSet<QString> descendants(const QString &famille)
{
    QHash<QString, QStringList> enfants;
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT codeTaxon, elementDe FROM TAXONS WHERE elementDe IS NOT NULL"));
    for (int i = 0; i < t.nbLignes(); ++i)
        enfants[t.texte(i, QStringLiteral("elementDe")).trimmed()]
            << t.texte(i, QStringLiteral("codeTaxon")).trimmed();
    QSet<QString> vus{famille};
    QStringList aVoir{famille};
    while (!aVoir.isEmpty()) {
        const QString c = aVoir.takeLast();
        for (const QString &e : enfants.value(c))
            if (!vus.contains(e)) {
                vus.insert(e);
                aVoir << e;
            }
    }
    return vus;
}

} // namespace

EntreesCodees chargerListeTaxons(bool themesDeuxEtCinq)
{
    const bool omnidia = reglageActif(reglage::omnidia);
    const bool museum = reglageActif(reglage::refMuseum);
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT NomLatin, CodeTaxon, codeOmnidia, refMuseum FROM TAXONS WHERE "
                       "(theme IS NULL OR theme ") +
        (themesDeuxEtCinq ? QStringLiteral("IN (2,5)") : QStringLiteral("NOT IN (2,5)")) +
        QStringLiteral(") AND actif='1' AND codeTaxon IS NOT NULL ORDER BY NomLatin ASC"));
    EntreesCodees entrees;
    entrees.reserve(t.nbLignes() + 1);
    entrees.append(EntreeCodee{});
    for (int i = 0; i < t.nbLignes(); ++i) {
        auto v = [&](const char *c) { return t.texte(i, QLatin1String(c)); };
        QString libelle = v("nomLatin");
        if (omnidia && !v("codeOmnidia").isEmpty())
            libelle += QStringLiteral(" - ") + v("codeOmnidia");
        if (museum && !v("refMuseum").isEmpty()) libelle += QStringLiteral(" - ") + v("refMuseum");
        entrees.append({v("codeTaxon").trimmed(), libelle, 0});
    }
    return entrees;
}

EntreesCodees SelectionTaxons::familles(const QString &theme)
{
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT nomLatin, nomCommun, codeTaxon FROM TAXONS WHERE niveau=10") +
        conditionTheme(theme) + QStringLiteral(" ORDER BY NomLatin ASC"));
    EntreesCodees entrees;
    entrees.reserve(t.nbLignes());
    for (int i = 0; i < t.nbLignes(); ++i) {
        auto v = [&](const char *c) { return t.texte(i, QLatin1String(c)); };
        QString libelle = v("nomLatin");
        if (!v("nomCommun").isEmpty()) libelle += QStringLiteral(" - ") + v("nomCommun");
        entrees.append({v("codeTaxon").trimmed(), libelle, 0});
    }
    return entrees;
}

QStringList SelectionTaxons::colonnes()
{
    QStringList c{QStringLiteral("Code")};
    if (reglageActif(reglage::omnidia)) c << QStringLiteral("Omnidia");
    c << QStringLiteral("Nom Latin") << QStringLiteral("Statut") << QStringLiteral("Date création")
      << QStringLiteral("Date Modif") << QStringLiteral("Auteur") << QStringLiteral("Redacteur")
      << QStringLiteral("Nom") << QStringLiteral("Références") << QStringLiteral("Commentaires")
      << QStringLiteral("Actif") << QStringLiteral("Elément de") << QStringLiteral("Code Thème")
      << QStringLiteral("Code Niveau") << QStringLiteral("Thème") << QStringLiteral("Niveau");
    return c;
}

CompteRendu SelectionTaxons::rechercher(const CriteresSelectionTaxons &criteres)
{
    m_resultats = {};
    m_omnidia = reglageActif(reglage::omnidia);
    m_resultats.entetes = colonnes();
    const QString texte = criteres.texte.trimmed();
    const QString famille = criteres.famille.trimmed();
    if (texte.isEmpty() && famille.isEmpty())
        return abandon(texteSelectionTaxons::CRITERES, GENRE_AIDE);
    QString filtres = conditionTheme(criteres.theme);
    if (!texte.isEmpty()) {
        QStringList termes;
        for (const QString &brut : texte.split(u'|', Qt::SkipEmptyParts)) {
            const QString terme = brut.trimmed();
            if (terme.isEmpty()) continue;
            const QString motif = sqlTexte(u'%' + terme + u'%');
            QString t = QStringLiteral("ucase(nomLatin) LIKE ") +
                        sqlTexte(u'%' + terme.toUpper() + u'%') +
                        QStringLiteral(" OR codeTaxon LIKE ") + motif;
            if (m_omnidia) t += QStringLiteral(" OR codeOmnidia LIKE ") + motif;
            termes << t;
        }
        if (!termes.isEmpty())
            filtres += QStringLiteral(" AND (") + termes.join(QStringLiteral(" OR ")) + u')';
    }
    const QString sql =
        QStringLiteral(
            "SELECT codeTaxon, codeOmnidia, nomLatin, TAXONS.statut, TAXONS.dateCreation, "
            "TAXONS.dateMiseAJour, "
            "TAXONS.auteur, redacteur, nomCommun, referenceBibliographique, TAXONS.commentaire, "
            "actif, elementDe, "
            "theme, niveau, THEMES.libelle AS libelleTheme, NIVEAUX.libelle AS libelleNiveau "
            "FROM (TAXONS LEFT JOIN CODES_SANDRE AS NIVEAUX ON (TAXONS.niveau = NIVEAUX.Code AND "
            "NIVEAUX.Champ='TAXONS.NIVEAUX')) LEFT JOIN CODES_SANDRE AS THEMES ON (TAXONS.theme = "
            "THEMES.Code "
            "AND THEMES.Champ='TAXONS.THEME') WHERE actif='1' AND codeTaxon IS NOT NULL") +
        filtres + QStringLiteral(" ORDER BY nomCommun, nomLatin");
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(sql, nb, t)) return echec(bd().derniereErreur());
    const QSet<QString> dansFamille = famille.isEmpty() ? QSet<QString>() : descendants(famille);
    for (int i = 0; i < t.nbLignes(); ++i) {
        auto v = [&](const char *c) { return t.texte(i, QLatin1String(c)); };
        const QString code = v("codeTaxon").trimmed();
        if (!famille.isEmpty() && !dansFamille.contains(code)) continue;
        QStringList ligne{code};
        if (m_omnidia) ligne << v("codeOmnidia");
        ligne << v("nomLatin") << libelleStatut(v("statut")) << v("dateCreation")
              << v("dateMiseAJour") << v("auteur") << v("redacteur") << v("nomCommun")
              << v("referenceBibliographique") << v("commentaire")
              << (v("actif") == QLatin1String("1") ? QStringLiteral("Oui") : QStringLiteral("Non"))
              << v("elementDe") << v("theme") << v("niveau") << v("libelleTheme")
              << v("libelleNiveau");
        m_resultats.lignes.append(ligne);
    }
    return reussite(m_resultats.lignes.isEmpty() ? texteSelectionTaxons::AUCUN_RESULTAT
                                                 : QString());
}

QString SelectionTaxons::code(int ligne) const
{
    return ligne >= 0 && ligne < m_resultats.nbLignes() ? m_resultats.lignes[ligne].value(0)
                                                        : QString();
}

QString SelectionTaxons::nomLatin(int ligne) const
{
    return ligne >= 0 && ligne < m_resultats.nbLignes()
               ? m_resultats.lignes[ligne].value(m_omnidia ? 2 : 1)
               : QString();
}

QString SelectionTaxons::codeOmnidia(int ligne) const
{
    return m_omnidia && ligne >= 0 && ligne < m_resultats.nbLignes()
               ? m_resultats.lignes[ligne].value(1)
               : QString();
}

} // namespace vyk
