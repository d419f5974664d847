#include "import/IntegrationInterne.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "db/ChampDecrit.h"
#include "db/Ligne.h"
#include "db/Outils.h"
#include "db/Progression.h"
#include "monitoring/PointsPrelevement.h"
#include "schema/Catalogue.h"

#include <QStringBuilder>

#include <algorithm>

namespace vyk {

namespace {

using C = ColonneImport;

enum class Nature
{
    Texte,
    Nombre,
    Date
};

struct ColonneAnalyse
{
    const char *nom;
    ColonneImport source;
    Nature nature = Nature::Texte;
};

// Columns of the analysis row read straight from the table.
// clang-format off
constexpr ColonneAnalyse COLONNES_LUES[] = {
    {"NumLabo", C::NumeroAnalyse}, {"Resultat", C::Resultat, Nature::Nombre},
    {"CodeRemarque", C::RemarqueAnalyse}, {"ReferenceLabo", C::ReferenceLabo},
    {"DateAnalyse", C::DateAnalyse, Nature::Date}, {"CodeLieu", C::LieuAnalyse},
    {"ResultatRef", C::ResultatReference, Nature::Nombre},
    {"ReferenceProducteur", C::Reference}, {"CodeDifficulte", C::Difficulte},
    {"CodeQualification", C::Qualification}, {"CodeMethode", C::CodeMethode},
    {"CodeFraction", C::CodeFraction}, {"CodeSupport", C::CodeSupport},
    {"StatutMesure", C::StatutMesure}, {"CommentaireAnalyse", C::CommentAnalyse},
    {"CommentaireResultat", C::CommentResult}, {"CodeMethodeFraction", C::CodeMethFr},
    {"profDebut", C::ProfDeb, Nature::Nombre}, {"profFin", C::ProfFin, Nature::Nombre},
    {"LimiteQuantification", C::LimiteQuantification, Nature::Nombre},
    {"LimiteDetection", C::LimiteDetection, Nature::Nombre},
    {"SeuilSaturation", C::SeuilSaturation, Nature::Nombre},
    {"Accreditation", C::AccreditationResultat},
    {"IncertitudeAnalytique", C::IncertitudeAnalytique, Nature::Nombre},
    {"CodeSolvant", C::CodeParamSolvant}, {"MethodeExtraction", C::CodeMethExtraction},
    {"RendementExtraction", C::RendementExtraction, Nature::Nombre},
    {"VolumeFiltre", C::VolumeFiltre, Nature::Nombre},
};
// clang-format on

int positionLue(const char *nom)
{
    for (int i = 0; i < int(std::size(COLONNES_LUES)); ++i)
        if (qstrcmp(COLONNES_LUES[i].nom, nom) == 0) return P_LUES + i;
    return -1;
}

QString identifiantPoint(const QString &support)
{
    const QString s = support.trimmed();
    if (s == QLatin1String("6")) return QStringLiteral("061");
    if (s == QLatin1String("7")) return QStringLiteral("071");
    if (s == QLatin1String("4")) return QStringLiteral("041");
    return QStringLiteral("031");
}

// "parameter|unit|fraction": which stored analysis a row rewrites. One allocation per row.
QString identiteAnalyse(QStringView parametre, QStringView unite, QStringView fraction)
{
    return parametre % u'|' % unite % u'|' % fraction;
}

// The identity of a stored analysis. Codes are plain ASCII: their bytes are trimmed and read
// as they are, with no text made per cell; anything else goes through the cells' texts.
QString identiteStockee(const Ligne &r, int parametre, int unite, int fraction)
{
    const QByteArrayView p = r.utf8(parametre), u = r.utf8(unite), f = r.utf8(fraction);
    auto ascii = [](QByteArrayView v) {
        return std::all_of(v.begin(), v.end(), [](char c) { return uchar(c) < 0x80; });
    };
    if (ascii(p) && ascii(u) && ascii(f))
        return QLatin1StringView(p.trimmed()) % u'|' % QLatin1StringView(u.trimmed()) % u'|' %
               QLatin1StringView(f.trimmed());
    return identiteAnalyse(QStringView(r.texte(parametre)).trimmed(),
                           QStringView(r.texte(unite)).trimmed(),
                           QStringView(r.texte(fraction)).trimmed());
}

// Most values come without surrounding blanks: those are read where they are, not copied.
const QString &sansBlancs(const QString &v, QString &tampon)
{
    if (v.isEmpty() || (!v.front().isSpace() && !v.back().isSpace())) return v;
    tampon = v.trimmed();
    return tampon;
}

QString extraitValeur(const QString &v)
{
    return v.size() > 40 ? v.left(40) + QStringLiteral("…") : v;
}

} // namespace

ReglagesIntegration ReglagesIntegration::lire()
{
    ReglagesIntegration r;
    r.qualification = lireRegistre(reglage::Qualification).trimmed();
    r.statut = lireRegistre(reglage::Statut).trimmed();
    r.determinateur = lireRegistre(reglage::Determinateur).trimmed();
    r.producteur = lireRegistre(reglage::Producteur).trimmed();
    r.preleveur = lireRegistre(reglage::Preleveur).trimmed();
    r.laboratoire = lireRegistre(reglage::Laboratoire).trimmed();
    r.protocole = lireRegistre(reglage::ProtocolePrelevement).trimmed();
    r.contactPreleveur = lireRegistre(reglage::ContactPreleveur).trimmed();
    r.contactDeterminateur = lireRegistre(reglage::ContactDeterminateur).trimmed();
    return r;
}

const QStringList &IntegrationAnalyses::colonnesAnalyse()
{
    static const QStringList colonnes = [] {
        QStringList c = {"NumAnalyse",   "NumPrelevement",  "CodeQualitometre", "CodeParametre",
                         "CodeUnite",    "CodeProducteur",  "CodeLabo",         "NumEchantillon",
                         "HeureAnalyse", "CodeResponsable", "NumOperation",     "NumDossier"};
        for (const ColonneAnalyse &a : COLONNES_LUES)
            c << QString::fromLatin1(a.nom);
        return c;
    }();
    return colonnes;
}

IntegrationAnalyses::IntegrationAnalyses(const LignesImport &lignes, OptionsIntegration &options,
                                         Progression &progression,
                                         const ReponsesIntegration &reponses)
    : m_lignes(lignes), m_options(options), m_progression(progression), m_reponses(reponses),
      m_creerSansDemanderAuDebut(options.creerIntervenants),
      m_reglages(ReglagesIntegration::lire()),
      m_intervenants(options.creerIntervenants, reponses, m_bilan.intervenantsCrees)
{
    // The qualification and the status have defaults when the row leaves them empty.
    for (int i = 0; i < int(std::size(COLONNES_LUES)); ++i)
        if (const C c = COLONNES_LUES[i].source;
            !lignes.toujoursVide(c) || c == C::Qualification || c == C::StatutMesure)
            m_luesPossibles << i;
}

QString IntegrationAnalyses::texte(int ligne, ColonneImport c) const
{
    QString tampon;
    return sansBlancs(brut(ligne, c), tampon);
}

void IntegrationAnalyses::signalerLigne(int ligne, const QString &raison)
{
    LigneEnErreur e;
    e.ligne = ligne + 1;
    e.origine = m_lignes.origine(ligne);
    e.raison =
        texteIntegration::erreurLigne(texte(ligne, C::CodeStation), texte(ligne, C::DatePrelvt),
                                      texte(ligne, C::CodeParam)) +
        QStringLiteral(" : ") + raison;
    m_bilan.lignesEnErreur << e;
}

BilanAnalyses IntegrationAnalyses::executer()
{
    m_bilan.lignesLues = m_lignes.nombreLignes();
    // A check runs everything in one transaction and undoes it; the replace mode gives each
    // station its own transaction; the add mode writes in one batch.
    std::unique_ptr<Transaction> controle;
    if (m_options.controle) controle = std::make_unique<Transaction>();
    if (!m_options.remplacer) m_lot = std::make_unique<Lot>();
    const bool complet = parcourirLignes();
    if (complet || !m_options.remplacer) clotureRun();
    if (m_lot && !m_lot->terminer() && m_bilan.erreur.isEmpty())
        m_bilan.erreur =
            QStringLiteral("Les données n'ont pas pu être enregistrées : ") + bd().derniereErreur();
    if (controle) controle->annuler();
    if (m_bilan.erreur.isEmpty() && !m_bilan.lignesEnErreur.isEmpty()) {
        m_bilan.erreur = m_bilan.lignesEnErreur.first().raison;
        if (m_bilan.lignesEnErreur.size() > 1)
            m_bilan.erreur += QStringLiteral(" (et %1 autre(s) ligne(s) en erreur)")
                                  .arg(m_bilan.lignesEnErreur.size() - 1);
    }
    if (!m_bilan.intervenantsCrees.isEmpty() && !m_creerSansDemanderAuDebut)
        m_bilan.messageIntervenants = texteIntegration::INTERVENANTS_CREES + u' ' +
                                      m_bilan.intervenantsCrees.join(QStringLiteral(", "));
    m_bilan.parametresCrees = m_referentiels.parametresCrees;
    m_bilan.unitesCrees = m_referentiels.unitesCrees;
    return m_bilan;
}

bool IntegrationAnalyses::parcourirLignes()
{
    const int n = m_lignes.nombreLignes();
    auto arreter = [&](const QString &erreur) {
        m_bilan.interrompu = true;
        if (m_bilan.erreur.isEmpty()) m_bilan.erreur = erreur;
        terminerStation(true);
        return false;
    };
    for (int l = 0; l < n; ++l) {
        if (m_progression.annule()) return arreter(texteIntegration::ANNULE);
        const QString cle = texte(l, C::CodeStation);
        if (l == 0 || cle != m_station.cle) {
            if (l > 0 && !terminerStation(false)) return arreter(m_bilan.erreur);
            m_derniers = {};
            ouvrirStation(cle, l);
        }
        const QString raison = m_station.erreur.isEmpty() ? integrerLigne(l) : m_station.erreur;
        if (m_arret) return arreter(texteIntegration::ARRET);
        if (!raison.isEmpty()) {
            signalerLigne(l, raison);
            if (m_options.arretPremiereErreur) return arreter(m_bilan.lignesEnErreur.last().raison);
        }
        m_progression.position(l + 1, n + 1);
        if (l % 100 == 0)
            m_progression.message(QStringLiteral("Intégration des analyses: ligne=") +
                                  QString::number(l + 1));
    }
    return n == 0 || terminerStation(false) || (arreter(m_bilan.erreur), false);
}

QString IntegrationAnalyses::valeursAnalyse(int ligne, QVector<QVariant> &valeurs)
{
    // Sizes of the text columns, read from the catalogue once.
    static const QVector<int> tailles = [] {
        QVector<int> t;
        for (const ColonneAnalyse &a : COLONNES_LUES) {
            const DefinitionColonne *c = definitionAnalyses().colonne(QString::fromLatin1(a.nom));
            t << (c && c->type == TypeNeutre::Texte ? c->taille : 0);
        }
        return t;
    }();
    if (m_lignesLibres.isEmpty()) {
        valeurs = QVector<QVariant>(colonnesAnalyse().size());
    } else {
        valeurs = m_lignesLibres.takeLast();
        // A value with no type is null already: its type is read in place, without a call.
        for (QVariant &v : valeurs)
            if (v.data_ptr().packedType) v = QVariant();
    }
    QVariant *const lues = valeurs.data() + P_LUES;
    static const QString vide;
    QString tampon;
    for (const int i : m_luesPossibles) {
        const ColonneAnalyse &a = COLONNES_LUES[i];
        // Most columns are empty: they are passed over, and the others read without a copy.
        const QString *lu = &sansBlancs(brut(ligne, a.source), tampon);
        if (a.source == C::NumeroAnalyse && m_options.demandeParLigne) lu = &vide;
        if (lu->isEmpty() && a.source == C::Qualification) lu = &m_reglages.qualification;
        if (lu->isEmpty() && a.source == C::StatutMesure) lu = &m_reglages.statut;
        if (lu->isEmpty()) continue;
        const QString &v = *lu;
        QVariant &cible = lues[i];
        switch (a.nature) {
        case Nature::Nombre: {
            const Nombre x = enNombre(v, true);
            if (!x.estNombre())
                return QStringLiteral("la valeur « ") + extraitValeur(v) +
                       QStringLiteral(" » de la colonne ") + QString::fromLatin1(a.nom) +
                       QStringLiteral(" n'est pas un nombre");
            cible = x.valeur;
            break;
        }
        case Nature::Date: {
            // The rows of a sample mostly share their analysis date: its text is read once.
            if (v != m_derniereDateAnalyse.first) m_derniereDateAnalyse = {v, lireDate(v)};
            const QDateTime &d = m_derniereDateAnalyse.second;
            if (!d.isValid())
                return QStringLiteral("la date « ") + extraitValeur(v) +
                       QStringLiteral(" » de la colonne ") + QString::fromLatin1(a.nom) +
                       QStringLiteral(" n'est pas une date");
            cible = QDateTime(d.date(), QTime(0, 0));
            break;
        }
        case Nature::Texte:
            if (tailles[i] > 0 && v.size() > tailles[i])
                return QStringLiteral("la valeur « ") + extraitValeur(v) +
                       QStringLiteral(" » dépasse la taille de la colonne ") +
                       QString::fromLatin1(a.nom) +
                       QStringLiteral(" (%1 caractères)").arg(tailles[i]);
            cible = v;
            break;
        }
    }
    return {};
}

QString IntegrationAnalyses::integrerLigne(int l)
{
    const QString dateTexte = texte(l, C::DatePrelvt);
    // The rows of a sample follow each other: its date text is read once.
    if (dateTexte != m_derniereDate.first) m_derniereDate = {dateTexte, lireDate(dateTexte)};
    const QDateTime quand = m_derniereDate.second;
    if (!quand.isValid()) return texteIntegration::DATE;
    const bool heureDonnee = dateTexte.contains(u':');
    QVector<QVariant> valeurs;
    if (QString r = valeursAnalyse(l, valeurs); !r.isEmpty()) return r;

    QString parametre, unite;
    if (QString r = resoudreReferentiels(l, parametre, unite); !r.isEmpty()) return r;
    QString raison;
    if (!resoudreIntervenants(l, raison)) return raison;
    const QVariant &producteur = m_derniersIntervenants[0].valeur,
                   &labo = m_derniersIntervenants[1].valeur,
                   &preleveur = m_derniersIntervenants[2].valeur;

    const QString support = texte(l, C::CodeSupport);
    // The rows of a sample name the same support on the same day.
    auto &dernier = m_derniers.point;
    const qint64 jour = quand.date().toJulianDay();
    if (!dernier || dernier->jour != jour || dernier->support != support) {
        const std::optional<qint64> trouve =
            pointDe(m_options.identifiantPoint ? m_options.identifiantPoint(support)
                                               : identifiantPoint(support),
                    quand.date(), raison);
        if (!trouve) return raison;
        dernier = DerniersDeStation::Point{support, jour, *trouve};
    }
    const qint64 point = dernier->code;
    const qint64 operation = operationDe(point, quand.date(), l, producteur, preleveur, raison);
    if (operation < 0) return raison;
    PrelevementImport *p = prelevementDe(operation, quand, heureDonnee, raison);
    if (!p) return raison;
    if (m_options.demandeParLigne && !texte(l, C::NumeroAnalyse).isEmpty())
        p->codeDemande = texte(l, C::NumeroAnalyse);
    const QVariant echantillon =
        echantillonDe(*p, texte(l, C::ReferenceEch), preleveur, quand, heureDonnee, raison);
    if (!raison.isEmpty()) return raison;

    QVariant *const v = valeurs.data();
    v[P_NUM_PRELEVEMENT] = p->numero;
    v[P_QUALITOMETRE] = m_station.code;
    v[P_PARAMETRE] = parametre;
    if (!unite.isEmpty()) v[P_UNITE] = unite;
    v[P_PRODUCTEUR] = producteur;
    v[P_LABO] = labo;
    v[P_ECHANTILLON] = echantillon;
    static const int positionFraction = positionLue("CodeFraction");
    // Only the add mode looks an analysis up by its identity.
    const QString identite =
        m_options.remplacer ? QString()
                            : identiteAnalyse(parametre, unite, v[positionFraction].toString());
    const qint64 numero = ajouterAnalyse(*p, identite, l, std::move(valeurs));
    if (m_options.apresLigne)
        m_options.apresLigne({l, m_station.code, m_station.codeBSS, point, operation, p->numero,
                              echantillon, numero});
    return {};
}

QString IntegrationAnalyses::resoudreCode(const Referentiel &r, int l, QString &code)
{
    const QString &lu = brut(l, r.colonne);
    auto i = r.resolus.constFind(lu);
    if (i == r.resolus.constEnd())
        i = r.resolus.insert(
            lu, r.resoudre(m_referentiels, texte(l, r.colonne), m_options.creerReferentiels));
    code = *i;
    if (!code.isEmpty()) return {};
    return QString::fromUtf8(r.nom) + QStringLiteral(" « ") + extraitValeur(texte(l, r.colonne)) +
           QStringLiteral(" » ") + QString::fromUtf8(r.inconnu);
}

QString IntegrationAnalyses::resoudreReferentiels(int l, QString &parametre, QString &unite)
{
    const Referentiel parametres = {C::CodeParam, m_parametresLus,
                                    [](CacheResolution &r, const QString &code, bool creer) {
                                        return resoudreParametre(r, code, creer);
                                    },
                                    "le paramètre", "est inconnu"};
    if (QString r = resoudreCode(parametres, l, parametre); !r.isEmpty()) return r;
    if (QStringView(brut(l, C::CodeUnite)).trimmed().isEmpty()) return {};
    const Referentiel unites = {C::CodeUnite, m_unitesLus,
                                [](CacheResolution &r, const QString &code, bool creer) {
                                    return resoudreUnite(r, code, creer);
                                },
                                "l'unité", "est inconnue"};
    return resoudreCode(unites, l, unite);
}

bool IntegrationAnalyses::resoudreIntervenants(int l, QString &raison)
{
    struct Role
    {
        ColonneImport code, origine;
        const QString &defaut;
    };
    const Role roles[] = {{C::CodeProducteur, C::OrigineInterv, m_reglages.producteur},
                          {C::CodeLabo, C::OrigineLabo, m_reglages.laboratoire},
                          {C::CodeProducteurEch, C::OrigineProducteurEch, m_reglages.preleveur}};
    for (int i = 0; i < 3; ++i) {
        const Role &r = roles[i];
        DernierIntervenant &d = m_derniersIntervenants[i];
        const QString &code = brut(l, r.code), &origine = brut(l, r.origine);
        if (!d.vu || code != d.code || origine != d.origine) {
            // Only a success is remembered: a refusal asks again.
            QVariant v;
            if (!m_intervenants.resoudre(texte(l, r.code), texte(l, r.origine), r.defaut, v,
                                         raison)) {
                m_arret = m_arret || m_intervenants.arret();
                return false;
            }
            d = {code, origine, v, true};
        }
    }
    return true;
}

void IntegrationAnalyses::libererAttente()
{
    for (AnalyseEnAttente &a : m_attente)
        m_lignesLibres << std::move(a.valeurs);
    m_attente.clear();
}

qint64 IntegrationAnalyses::ajouterAnalyse(PrelevementImport &p, const QString &identite, int ligne,
                                           QVector<QVariant> valeurs)
{
    if (!p.nouveau) lireAnalyses();
    AnalyseEnAttente a;
    a.prelevement = p.numero;
    a.ligne = ligne;
    // The replace mode appends; the add mode rewrites the analysis of the same identity.
    auto existante = m_options.remplacer ? p.analyses.end() : p.analyses.find(identite);
    if (existante == p.analyses.end()) {
        a.numero = ++p.maxAnalyse;
        if (!m_options.remplacer)
            p.analyses.insert(identite, {a.numero, {}, false, int(m_attente.size())});
    } else {
        a.numero = existante->numero;
        if (existante->attente >= 0) {
            // Twice in the file: the last row's values win.
            AnalyseEnAttente &precedente = m_attente[existante->attente];
            for (int k = 0; k < NB_CONSERVES; ++k)
                valeurs[P_CONSERVES + k] = precedente.valeurs[P_CONSERVES + k];
            valeurs[P_NUM_ANALYSE] = a.numero;
            precedente.valeurs = std::move(valeurs);
            precedente.ligne = ligne;
            return a.numero;
        }
        existante->attente = int(m_attente.size());
        if (existante->stockee) {
            a.reecriture = true;
            m_aRemplacer[p.numero] << a.numero;
            for (int k = 0; k < NB_CONSERVES && k < existante->conserves.size(); ++k)
                valeurs[P_CONSERVES + k] = existante->conserves[k];
        }
    }
    valeurs[P_NUM_ANALYSE] = a.numero;
    a.valeurs = std::move(valeurs);
    const qint64 numero = a.numero;
    m_attente << std::move(a);
    return numero;
}

void IntegrationAnalyses::lireAnalyses()
{
    if (m_analysesStationLues) return;
    m_analysesStationLues = true;
    // One station's analyses, stepped through in one result: the columns are found on the first
    // row, and nothing but the identity and the kept values is copied.
    int prelevement = 0, analyse = 0, parametre = 0, unite = 0, fraction = 0, heure = 0;
    int responsable = 0, operation = 0, dossier = 0;
    bd().parcourirEnBloc(
        QStringLiteral("SELECT NumPrelevement, NumAnalyse, CodeParametre, CodeUnite, "
                       "CodeFraction, HeureAnalyse, CodeResponsable, NumOperation, NumDossier "
                       "FROM ") +
            m_station.table,
        [&](const Ligne &r) {
            if (r.premiere()) {
                auto c = [&](const char16_t *nom) { return r.colonne(nom); };
                prelevement = c(u"NumPrelevement"), analyse = c(u"NumAnalyse");
                parametre = c(u"CodeParametre"), unite = c(u"CodeUnite");
                fraction = c(u"CodeFraction"), heure = c(u"HeureAnalyse");
                responsable = c(u"CodeResponsable"), operation = c(u"NumOperation");
                dossier = c(u"NumDossier");
            }
            const auto p = m_prelevements.find(r.entier(prelevement));
            if (p == m_prelevements.end()) return true;
            const qint64 numero = r.entier(analyse);
            p->maxAnalyse = std::max(p->maxAnalyse, numero);
            ++p->nbStockees;
            // The kept columns are mostly all null: nothing is made for them then.
            QVector<QVariant> conserves;
            if (!r.estNul(heure) || !r.estNul(responsable) || !r.estNul(operation) ||
                !r.estNul(dossier))
                conserves = {r.valeur(heure), r.valeur(responsable), r.valeur(operation),
                             r.valeur(dossier)};
            p->analyses.insert(identiteStockee(r, parametre, unite, fraction),
                               {numero, std::move(conserves), true});
            return true;
        });
}

std::optional<qint64> IntegrationAnalyses::pointDe(const QString &identifiant, const QDate &date,
                                                   QString &raison)
{
    // A station with one point of this identifier gives it at every date; otherwise the point
    // depends on the date.
    const QString &cle = identifiant;
    if (const auto i = m_points.constFind(cle); i != m_points.constEnd()) return *i;
    const QString cleDatee = identifiant + u'|' + QString::number(date.toJulianDay());
    if (const auto i = m_points.constFind(cleDatee); i != m_points.constEnd()) return *i;
    QString refus;
    IssuePoint issue;
    const qint64 code =
        trouverPointPrelevement(m_station.code, identifiant, date, {}, {}, {}, &refus, &issue);
    if (code < 0) {
        raison = refus.isEmpty() ? QStringLiteral("le point de prélèvement ") + identifiant +
                                       QStringLiteral(" n'a pas pu être trouvé ni créé")
                                 : refus;
        return std::nullopt;
    }
    if (issue.cree) ++m_bilan.pointsCrees;
    m_points.insert(issue.definitions == 1 ? cle : cleDatee, code);
    return code;
}

qint64 IntegrationAnalyses::operationDe(qint64 point, const QDate &date, int ligne,
                                        const QVariant &producteur, const QVariant &preleveur,
                                        QString &raison)
{
    const CleJour cle = cleJour(point, date);
    // Marked as touched when last found, and still so until the station is closed.
    if (m_derniers.operation && m_derniers.operation->first == cle)
        return m_derniers.operation->second;
    if (const auto i = m_operations.constFind(cle); i != m_operations.constEnd()) {
        m_operationsTouchees.insert(*i);
        m_derniers.operation = {cle, *i};
        return *i;
    }
    const qint64 code = ++m_maxOperation;
    auto nombre = [](const QString &v) { return enNombre(v, true).variant(); };
    // Written with the station's other new operations, once its analyses are known.
    m_nouvellesOperations.append(
        {m_station.code, code, point, QDateTime(date, QTime(0, 0)),
         nombre(m_reglages.qualification), nombre(m_reglages.statut),
         nulSiVide(texte(ligne, C::CommentaireOperation)), nombre(m_reglages.determinateur),
         producteur, preleveur, nombre(m_reglages.protocole),
         nulSiVide(texte(ligne, C::LocalisationPrecise)), nombre(m_reglages.contactPreleveur),
         nombre(m_reglages.contactDeterminateur),
         m_options.execution >= 0 ? QVariant(m_options.execution) : QVariant(), QVariant(),
         m_options.campagne >= 0 ? QVariant(m_options.campagne) : QVariant()});
    (void)raison;
    ++m_bilan.operationsCreees;
    m_operations.insert(cle, code);
    m_operationsTouchees.insert(code);
    m_derniers.operation = {cle, code};
    return code;
}

PrelevementImport *IntegrationAnalyses::prelevementDe(qint64 operation, const QDateTime &quand,
                                                      bool heureDonnee, QString &raison)
{
    (void)raison;
    const CleJour cle = cleJour(operation, quand.date());
    const QTime heure = heureDonnee ? quand.time() : QTime(0, 0);
    // Samples of a day are only appended: the one found last is still the first that fits,
    // and already counted as met.
    auto &d = m_derniers.prelevement;
    if (d && d->cle == cle && d->heureDonnee == heureDonnee && d->heure == heure)
        return &m_prelevements[d->numero];
    PrelevementImport *p = prelevementTrouveOuCree(operation, quand, heureDonnee);
    d = DerniersDeStation::Prelevement{cle, heureDonnee, heure, p->numero};
    return p;
}

PrelevementImport *IntegrationAnalyses::prelevementTrouveOuCree(qint64 operation,
                                                                const QDateTime &quand,
                                                                bool heureDonnee)
{
    const CleJour cle = cleJour(operation, quand.date());
    const QTime heure = heureDonnee ? quand.time() : QTime(0, 0);
    // The time given by the file is part of the sample's identity.
    for (const qint64 numero : m_prelevementsParJour.value(cle)) {
        PrelevementImport &p = m_prelevements[numero];
        if (!heureDonnee || p.heure == heure) {
            if (!m_rencontres.contains(numero)) {
                m_rencontres.insert(numero);
                m_prelevementsRencontres << numero;
            }
            return &p;
        }
    }
    if (!m_maxPrelevement) {
        bd().verrouiller(QStringLiteral("PRELEVEMENTS"));
        const QVariant max =
            bd().valeur(QStringLiteral("SELECT max(NumPrelevement) FROM PRELEVEMENTS"));
        m_maxPrelevement = max.isNull() ? -1 : max.toLongLong();
    }
    const qint64 numero = *m_maxPrelevement + 1;
    m_maxPrelevement = numero;
    ++m_bilan.prelevementsCrees;
    ++m_nbPrelevementsOperation[operation];
    PrelevementImport &p = m_prelevements[numero];
    p.numero = numero;
    p.operation = operation;
    p.heure = heure;
    p.date = quand.date();
    p.nouveau = true;
    p.echantillonsLus = true;
    m_prelevementsParJour[cle] << numero;
    m_rencontres.insert(numero);
    m_prelevementsRencontres << numero;
    return &p;
}

QVariant IntegrationAnalyses::echantillonDe(PrelevementImport &p, const QString &reference,
                                            const QVariant &preleveur, const QDateTime &quand,
                                            bool heureDonnee, QString &raison)
{
    if (reference.isEmpty()) return {};
    const int taille = tailleTexte(u"PRELEVEMENTS_ECHANTILLONS", u"Reference");
    if (taille > 0 && reference.size() > taille) {
        raison = QStringLiteral("la référence d'échantillon « ") + extraitValeur(reference) +
                 QStringLiteral(" » dépasse la taille de la colonne Reference (%1 caractères)")
                     .arg(taille);
        return {};
    }
    if (!p.echantillonsLus) {
        p.echantillonsLus = true;
        InstructionPreparee q = bd().preparer(
            QStringLiteral("SELECT NumEchantillon, Reference FROM PRELEVEMENTS_ECHANTILLONS WHERE "
                           "NumPrelevement=?"));
        Tableau t;
        q.extraire(t, {p.numero});
        for (int i = 0; i < t.nbLignes(); ++i) {
            const qint64 echantillon = t.valeur(i, QStringLiteral("NumEchantillon")).toLongLong();
            p.maxEchantillon = std::max(p.maxEchantillon, echantillon);
            p.echantillons.insert(t.texte(i, QStringLiteral("Reference")), echantillon);
        }
    }
    if (const auto i = p.echantillons.constFind(reference); i != p.echantillons.constEnd())
        return *i;
    const qint64 numero = p.maxEchantillon + 1;
    if (!m_insEchantillon.estValide())
        m_insEchantillon = bd().preparer(QStringLiteral(
            "INSERT INTO PRELEVEMENTS_ECHANTILLONS (NumEchantillon, NumPrelevement, "
            "codeQualitometre, Reference, CodeProducteur, DateDebut, HeureDebut) VALUES (?, ?, ?, "
            "?, ?, ?, ?)"));
    if (!m_insEchantillon.executer(
            {numero, p.numero, m_station.code, reference, preleveur,
             QDateTime(quand.date(), QTime(0, 0)),
             heureDonnee ? QVariant(QDateTime(JOUR_DES_HEURES, quand.time())) : QVariant()})) {
        raison =
            QStringLiteral("l'échantillon n'a pas pu être écrit : ") + m_insEchantillon.erreur();
        return {};
    }
    p.maxEchantillon = numero;
    p.echantillons.insert(reference, numero);
    ++m_bilan.echantillonsCrees;
    return numero;
}

QString BilanAnalyses::resume() const
{
    return QStringLiteral("%1 ligne(s) lue(s), %2 station(s) dont %3 créée(s), %4 opération(s) "
                          "créée(s), %5 prélèvement(s) créé(s), %6 analyse(s) écrite(s) (%7 "
                          "ajoutée(s), %8 réécrite(s)), %9 ligne(s) en erreur")
        .arg(lignesLues)
        .arg(stations)
        .arg(stationsCreees.size())
        .arg(operationsCreees)
        .arg(prelevementsCrees)
        .arg(analysesEcrites())
        .arg(analysesAjoutees)
        .arg(analysesReecrites)
        .arg(lignesEnErreur.size());
}

QStringList BilanAnalyses::aCreer() const
{
    QStringList lignes;
    auto liste = [&](const QString &titre, const QStringList &l) {
        if (!l.isEmpty()) lignes << titre + l.join(QStringLiteral(", "));
    };
    liste(QStringLiteral("Stations à créer : "), stationsCreees);
    liste(QStringLiteral("Intervenants à créer : "), intervenantsCrees);
    liste(QStringLiteral("Contacts à créer : "), contactsCrees);
    liste(QStringLiteral("Paramètres à créer : "), parametresCrees);
    liste(QStringLiteral("Unités à créer : "), unitesCrees);
    lignes << QStringLiteral("Points à créer : %1, échantillons à créer : %2")
                  .arg(pointsCrees)
                  .arg(echantillonsCrees);
    return lignes;
}

void BilanAnalyses::ajouter(const BilanAnalyses &b)
{
    interrompu = interrompu || b.interrompu;
    lignesLues += b.lignesLues;
    stations += b.stations;
    stationsCreees += b.stationsCreees;
    stationsPurgees += b.stationsPurgees;
    pointsCrees += b.pointsCrees;
    operationsCreees += b.operationsCreees;
    prelevementsCrees += b.prelevementsCrees;
    echantillonsCrees += b.echantillonsCrees;
    analysesAjoutees += b.analysesAjoutees;
    analysesReecrites += b.analysesReecrites;
    parametresCrees += b.parametresCrees;
    unitesCrees += b.unitesCrees;
    intervenantsCrees += b.intervenantsCrees;
    contactsCrees += b.contactsCrees;
    lignesEnErreur += b.lignesEnErreur;
    // The run's message names every organisation created without leave, whichever file did.
    if (!b.messageIntervenants.isEmpty() || !messageIntervenants.isEmpty())
        messageIntervenants = texteIntegration::INTERVENANTS_CREES + u' ' +
                              intervenantsCrees.join(QStringLiteral(", "));
}

BilanAnalyses integrerAnalyses(const LignesImport &lignes, OptionsIntegration &options,
                               Progression &progression, const ReponsesIntegration &reponses)
{
    IntegrationAnalyses integration(lignes, options, progression, reponses);
    return integration.executer();
}

BilanAnalyses integrerAnalyses(const GrilleImport &grille, OptionsIntegration &options,
                               Progression &progression, const ReponsesIntegration &reponses)
{
    return integrerAnalyses(LignesTable(grille), options, progression, reponses);
}

} // namespace vyk
