#include "import/ResultatsLabo.h"

#include "db/Progression.h"
#include "import/ChargementTexte.h"
#include "import/EnTeteLabo.h"
#include "import/LectureSandre.h"
#include "referentials/LectureXml.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

namespace vyk {

namespace {

using C = ColonneImport;

struct ChampAnalyse
{
    QStringView element;     // child of Analyse
    QStringView sousElement; // its child holding the value, empty when the child holds it
    C colonne;
};

// What an Analyse gives, beyond the sample's and sample part's values.
// clang-format off
constexpr ChampAnalyse CHAMPS_ANALYSE[] = {
    {u"Parametre", u"CdParametre", C::CodeParam}, {u"RsAna", {}, C::Resultat},
    {u"UniteReference", u"CdUniteReference", C::CodeUnite}, {u"RqAna", {}, C::RemarqueAnalyse},
    {u"InsituAna", {}, C::LieuAnalyse}, {u"Methode", u"CdMethode", C::CodeMethode},
    {u"FractionAnalysee", u"CdFractionAnalysee", C::CodeFraction},
    {u"LQAna", {}, C::LimiteQuantification}, {u"LDAna", {}, C::LimiteDetection},
    {u"LSAna", {}, C::SeuilSaturation}, {u"AccreAna", {}, C::AccreditationResultat},
    {u"IncertAna", {}, C::IncertitudeAnalytique},
};
// clang-format on

QString valeurChamp(const NoeudXml &n, const ChampAnalyse &champ)
{
    return champ.sousElement.isEmpty() ? n.valeur({champ.element})
                                       : n.valeur({champ.element, champ.sousElement});
}

QString &cellule(QStringList &ligne, C c)
{
    return ligne[int(c)];
}

// Observations of the sample part: "Ds (Val)", one after the other.
QString commemoratifs(const NoeudXml &n)
{
    QStringList textes;
    for (const NoeudXml *c : n.enfantsNommes(u"Commemoratif")) {
        const QString ds = c->valeur({u"DsCommemoratif"});
        const QString val = c->valeur({u"ValCommemoratif"});
        if (!ds.isEmpty() || !val.isEmpty())
            textes.append(ds + QStringLiteral(" (") + val + QLatin1Char(')'));
    }
    return textes.join(QStringLiteral("; "));
}

// The date of the sample with its time when the message gives one.
QString dateEtHeure(const QString &date, const QString &heure)
{
    const QString d = dateSandre(date);
    QString h = heureSandre(heure);
    if (h.isEmpty() && date.size() > 10) h = heureSandre(date.mid(11)); // "YYYY-MM-DDTHH:MM:SS"
    return h.isEmpty() || d.isEmpty() ? d : d + QLatin1Char(' ') + h;
}

// The first child whose name starts with `prefixe` (field measurements name their result and
// date after their own entity).
const NoeudXml *enfantPrefixe(const NoeudXml &n, QStringView prefixe)
{
    for (const NoeudXml &e : n.enfants)
        if (e.nom.startsWith(prefixe, Qt::CaseInsensitive)) return &e;
    return nullptr;
}

QString texteLu(const NoeudXml *n)
{
    if (!n) return {};
    n->lu = true;
    return n->texte;
}

class LecteurResultats
{
  public:
    LecteurResultats(const QString &chemin, GrilleImport &g, ElementsIgnores &ig)
        : m_fichier(QFileInfo(chemin).fileName()), m_grille(g), m_ignores(ig)
    {
    }

    bool trop() const { return m_trop; }

    void prelevement(const NoeudXml &p)
    {
        QStringList modele;
        for (int i = 0; i < NB_COLONNES_IMPORT; ++i)
            modele.append(QString());
        cellule(modele, C::CodeStation) =
            p.valeur({u"StationPrelevement", u"CdStationPrelevement"});
        if (const NoeudXml *s = p.enfant(u"StationPrelevement")) lireStationPrelevement(*s);
        cellule(modele, C::TypeQualito) = QStringLiteral("1");
        cellule(modele, C::DatePrelvt) =
            dateEtHeure(p.valeur({u"DatePrel"}), p.valeur({u"HeurePrel"}));
        cellule(modele, C::Reference) = p.valeur({u"ReferencePrel"});
        cellule(modele, C::LocalisationPrecise) = p.valeur({u"LocalExactePrel"});
        cellule(modele, C::CodeSupport) = p.valeur({u"Support", u"CdSupport"});
        const QString observations = commemoratifs(p);
        for (const NoeudXml &e : p.enfants) {
            if (e.estNomme(u"Echantillon"))
                echantillon(e, modele, observations);
            else if (e.estNomme(u"MesureEnvironnementale"))
                mesure(e, modele);
        }
        m_ignores.compterNonLus(p);
    }

  private:
    QString origine(const NoeudXml &n) const
    {
        return QStringLiteral("%1, ligne %2 (%3)").arg(m_fichier, QString::number(n.ligne), n.nom);
    }

    QStringList *ajouter(const QStringList &modele, const NoeudXml &n)
    {
        if (m_grille.nombreLignes() >= LIGNES_IMPORT_MAX) {
            m_trop = true;
            return nullptr;
        }
        return &m_grille.ajouterLigne(modele, origine(n));
    }

    void echantillon(const NoeudXml &e, QStringList modele, const QString &observationsPrel)
    {
        QString reference = e.valeur({u"RefEchantillonPrel"});
        if (reference.isEmpty()) reference = e.valeur({u"RefEchantillonCommanditaire"});
        cellule(modele, C::ReferenceEch) = reference;
        cellule(modele, C::ReferenceLabo) = e.valeur({u"RefEchantillonLabo"});
        cellule(modele, C::CodeLabo) = e.valeur({u"Laboratoire", u"CdIntervenant"});
        QStringList observations{commemoratifs(e), observationsPrel};
        observations.removeAll(QString());
        cellule(modele, C::CommentaireOperation) = observations.join(QStringLiteral("; "));
        for (const NoeudXml &a : e.enfants) {
            if (a.estNomme(u"MesureEnvironnementale")) {
                mesure(a, modele);
                continue;
            }
            if (!a.estNomme(u"Analyse")) continue;
            QStringList *ligne = ajouter(modele, a);
            if (!ligne) return;
            for (const ChampAnalyse &champ : CHAMPS_ANALYSE)
                cellule(*ligne, champ.colonne) = valeurChamp(a, champ);
        }
    }

    // A field measurement: parameter, result, unit and date, measured on site.
    void mesure(const NoeudXml &m, const QStringList &modele)
    {
        QStringList *ligne = ajouter(modele, m);
        if (!ligne) return;
        cellule(*ligne, C::CodeParam) = texteLu(m.descendant(u"CdParametre"));
        cellule(*ligne, C::Resultat) = texteLu(enfantPrefixe(m, u"Rs"));
        const NoeudXml *unite = m.descendant(u"CdUniteReference");
        cellule(*ligne, C::CodeUnite) = texteLu(unite ? unite : m.descendant(u"CdUniteMesure"));
        cellule(*ligne, C::RemarqueAnalyse) = texteLu(enfantPrefixe(m, u"Rq"));
        cellule(*ligne, C::DateAnalyse) =
            dateEtHeure(texteLu(enfantPrefixe(m, u"Date")), texteLu(enfantPrefixe(m, u"Heure")));
        cellule(*ligne, C::LieuAnalyse) = QStringLiteral("1");
    }

    QString m_fichier;
    GrilleImport &m_grille;
    ElementsIgnores &m_ignores;
    bool m_trop = false;
};

bool estDemande(QStringView nom)
{
    return nom.compare(QLatin1String("Demande"), Qt::CaseInsensitive) == 0;
}

} // namespace

QString chargerResultatsLabo(const QString &chemin, GrilleImport &grille, Progression *progression,
                             ElementsIgnores *ignores)
{
    grille.vider();
    ElementsIgnores nonRepris;
    LecteurResultats lecteur(chemin, grille, nonRepris);
    QVector<int> debutsDemande; // first row of each open Demande
    QVector<QString> codesDemande;
    ParcoursSandre p;
    p.estUnite = [](QStringView nom, const QStringList &) {
        return nom.compare(QLatin1String("Prelevement"), Qt::CaseInsensitive) == 0 ||
               estElementEnTeteLabo(nom);
    };
    p.unite = [&](const NoeudXml &u, const QStringList &) {
        if (u.estNomme(u"Prelevement"))
            lecteur.prelevement(u);
        else
            lireElementEnTeteLabo(u, nonRepris);
    };
    p.debut = [&](QStringView nom, const QStringList &) {
        if (!estDemande(nom)) return;
        debutsDemande.append(grille.nombreLignes());
        codesDemande.append(QString());
    };
    p.feuille = [&](QStringView nom, const QString &texte, const QStringList &pile) {
        if (!codesDemande.isEmpty() &&
            nom.compare(QLatin1String("CdDemandePrestataire"), Qt::CaseInsensitive) == 0)
            codesDemande.last() = texte;
        else if (!texte.isEmpty())
            nonRepris.ajouter((pile.isEmpty() ? QString() : pile.last() + QLatin1Char('/')) +
                              nom.toString());
    };
    p.fin = [&](QStringView nom, const QStringList &) {
        if (!estDemande(nom) || debutsDemande.isEmpty()) return;
        const int debut = debutsDemande.takeLast();
        const QString code = codesDemande.takeLast();
        for (int i = debut; i < grille.nombreLignes(); ++i)
            if (grille.lignes[i][int(C::NumeroAnalyse)].isEmpty())
                grille.lignes[i][int(C::NumeroAnalyse)] = code;
    };
    QString erreur;
    const bool lu = parcourirSandre(chemin, p, erreur, progression);
    if (lu && lecteur.trop()) erreur = texteChargement::TROP_DE_LIGNES;
    if (!lu || !erreur.isEmpty()) {
        grille.vider();
        return erreur;
    }
    nonRepris.journaliser(chemin);
    if (ignores) *ignores = nonRepris;
    return {};
}

QString lireCodeDemande(const QString &chemin, Progression *progression)
{
    if (progression) progression->message(texteImportLabo::CODE_DEMANDE);
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QXmlStreamReader xml(&f);
    int profondeur = 0;
    while (!xml.atEnd()) {
        const auto jeton = xml.readNext();
        if (jeton == QXmlStreamReader::EndElement) --profondeur;
        if (jeton != QXmlStreamReader::StartElement) continue;
        ++profondeur;
        if (xml.name().compare(QLatin1String("CdDemandePrestataire"), Qt::CaseInsensitive) != 0)
            continue;
        QString texte;
        return lireTexteElement(xml, profondeur, texte) ? texte.trimmed() : QString();
    }
    return {};
}

} // namespace vyk
