#include "db/Outils.h"
#include "import/AnalysesNommees.h"
#include "import/ColonnesNommees.h"
#include "import/ExtraitCodeInterne.h"

#include <algorithm>
#include <array>
#include <optional>

namespace vyk {

namespace {

using C = ColonneImport;

// The columns of the codes a target is read from (the first non-empty in order), found once per
// extract.
class Champ
{
  public:
    Champ(const ExtraitCode &e, std::initializer_list<const char *> codes)
    {
        for (const char *code : codes)
            if (const int c = e.colonne(QString::fromLatin1(code)); c >= 0 && m_n < MAX)
                m_colonnes[m_n++] = c;
    }
    const QString &operator()(const LigneCode &ligne) const
    {
        static const QString vide;
        for (int i = 0; i < m_n; ++i)
            if (const QString &v = ligne[m_colonnes[i]]; !v.isEmpty()) return v;
        return vide;
    }
    bool vide() const { return m_n == 0; }
    // Whether a row reads other cells than the row before: a cell that repeats the one above
    // is the same text of the extract.
    bool change(const LigneCode *avant, const LigneCode &ligne) const
    {
        if (!avant) return true;
        for (int i = 0; i < m_n; ++i)
            if (&(*avant)[m_colonnes[i]] != &ligne[m_colonnes[i]]) return true;
        return false;
    }

  private:
    static constexpr int MAX = 4;
    std::array<int, MAX> m_colonnes{};
    int m_n = 0;
};

// Targets that take a code's value as it is.
struct Copie
{
    C cible;
    std::initializer_list<const char *> codes;
};
const Copie COPIES[] = {
    {C::NumeroAnalyse, {"ALQ.23"}},
    {C::CodeParam, {"ALQ.9", "PAR.2", "PAR.3"}},
    {C::CodeUnite, {"ALQ.27"}},
    {C::LieuAnalyse, {"ALQ.14"}},
    {C::Difficulte, {"ALQ.15"}},
    {C::CodeMethode, {"ALQ.20"}},
    {C::CodeFraction, {"ALQ.22", "FAN.2"}},
    {C::CodeSupport, {"SUP.2"}},
    {C::CommentAnalyse, {"ALQ.16"}},
    {C::CommentResult, {"ALQ.17"}},
    {C::ReferenceEch, {"ALQ.103"}},
    {C::ProfDeb, {"PRL.15"}},
    {C::ProfFin, {"PRL.16"}},
    {C::AccreditationResultat, {"ALQ.28"}},
    {C::IncertitudeAnalytique, {"ALQ.106"}},
    {C::RendementExtraction, {"ALQ.107"}},
    {C::CommentaireOperation, {"OPP.7"}},
};

// Every column the import table's rows are built from.
struct ColonnesCode
{
    explicit ColonnesCode(const ExtraitCode &e)
        : station(e, {"STQ.2", "ALQ.3", "PTE.2"}), date(e, {"PRL.8", "OPP.3", "ALQ.10", "PRZ.12"}),
          heure(e, {"PRL.9"}), producteur(e, {"ALQ.19", "ALQ.24"}),
          resultat(e, {"ALQ.12", "ALZ.17"}), remarque(e, {"ALQ.13"}), labo(e, {"ALQ.8"}),
          dateAnalyse(e, {"ALQ.10"}), qualification(e, {"ALQ.18"}), statut(e, {"ALQ.29"}),
          preleveur(e, {"ALQ.26", "PRL.19"}), quantification(e, {"ALQ.100"}),
          detection(e, {"ALQ.101"})
    {
        for (const Copie &c : COPIES)
            copies.append({c.cible, Champ(e, c.codes)});
    }
    Champ station, date, heure, producteur, resultat, remarque, labo, dateAnalyse, qualification,
        statut, preleveur, quantification, detection;
    QVector<QPair<C, Champ>> copies;
};

// How an organisation code reads: fourteen digits are a SIRET number, anything else a SANDRE
// code.
QString origine(const QString &code)
{
    const bool siret = code.size() == 14 &&
                       std::all_of(code.cbegin(), code.cend(), [](QChar c) { return c.isDigit(); });
    return code.isEmpty() || siret ? QString() : QStringLiteral("SANDRE");
}

QString sansSigne(const QString &v)
{
    // Most values carry neither sign nor surrounding blank.
    auto bord = [](QChar c) { return c == u'<' || c == u'=' || c == u'>' || c.isSpace(); };
    if (v.isEmpty() || (!bord(v.front()) && !v.back().isSpace())) return v;
    QStringView t = QStringView(v).trimmed();
    while (!t.isEmpty() && (t[0] == u'<' || t[0] == u'=' || t[0] == u'>'))
        t = t.sliced(1).trimmed();
    return t.size() == v.size() ? v : t.toString();
}

QString texteDateCode(const QString &v)
{
    if (v.isEmpty()) return {};
    const QDateTime d = dateCode(v);
    return d.isValid() ? texteDate(d, false) : v;
}

// The sample date with its time: PRL.9, else the time written after the date, else midnight.
QString texteDatePrelevement(const QString &brut, const QString &heure)
{
    QDateTime d = dateCode(brut);
    if (!d.isValid()) return brut;
    if (!heure.isEmpty()) {
        const QTime h = lireDate(QStringLiteral("01/01/2000 ") + heure).time();
        if (!h.isValid()) return brut + u' ' + heure;
        d.setTime(h);
    }
    return texteDate(d, true);
}

// Consecutive rows mostly repeat a station key, a date or a qualification label: the value of
// the last one is kept.
template <typename T, typename K = QString> class Derniere
{
  public:
    template <typename F> const T &operator()(const K &brut, F convertir)
    {
        if (!m_vu || brut != m_brut) {
            m_brut = brut;
            m_valeur = convertir(brut);
            m_vu = true;
        }
        return m_valeur;
    }

  private:
    bool m_vu = false;
    K m_brut;
    T m_valeur{};
};

// Dates repeat over the rows of a sample: each text is converted once.
class Dates
{
  public:
    const QString &prelevement(const QString &brut, const QString &heure)
    {
        // The rows of a sample follow each other: the last date is known without the cache.
        return m_derniere(std::pair(brut, heure), [&](const std::pair<QString, QString> &cle) {
            return convertir(m_prelevements, cle,
                             [&] { return texteDatePrelevement(brut, heure); });
        });
    }
    QString analyse(const QString &brut)
    {
        return convertir(m_analyses, brut, [&] { return texteDateCode(brut); });
    }

  private:
    template <typename K, typename F>
    static QString convertir(QHash<K, QString> &cache, const K &cle, F f)
    {
        auto i = cache.constFind(cle);
        if (i == cache.constEnd()) i = cache.insert(cle, f());
        return *i;
    }
    QHash<std::pair<QString, QString>, QString> m_prelevements;
    Derniere<QString, std::pair<QString, QString>> m_derniere;
    QHash<QString, QString> m_analyses;
};

struct Conversions
{
    Dates dates;
    Derniere<QString> station;
    Derniere<QualificationCode> qualification;
};

// Targets ligneGrille fills other than by a copy.
constexpr C CALCULEES[] = {C::TypeQualito,          C::CodeStation,
                           C::DatePrelvt,           C::CodeProducteur,
                           C::OrigineInterv,        C::Resultat,
                           C::RemarqueAnalyse,      C::CodeLabo,
                           C::OrigineLabo,          C::DateAnalyse,
                           C::Qualification,        C::StatutMesure,
                           C::CodeProducteurEch,    C::OrigineProducteurEch,
                           C::LimiteQuantification, C::LimiteDetection};

// Builds the row over the previous one: a target whose cells did not change since the row
// built last keeps its value.
void ligneGrille(const ColonnesCode &k, Conversions &conv, const LigneCode *avant,
                 const LigneCode &l, QStringList &ligne)
{
    QString *const g = ligne.data();
    auto mettre = [&](C c, const QString &valeur) { g[int(c)] = valeur; };
    auto change = [&](const Champ &champ) { return champ.change(avant, l); };
    for (const auto &[cible, champ] : k.copies)
        if (change(champ)) mettre(cible, champ(l));
    if (!avant) mettre(C::TypeQualito, QStringLiteral("1"));
    if (change(k.station)) mettre(C::CodeStation, conv.station(k.station(l), cleStationCode));
    if (change(k.date) || change(k.heure))
        mettre(C::DatePrelvt, conv.dates.prelevement(k.date(l), k.heure(l)));
    if (change(k.producteur)) {
        const QString &producteur = k.producteur(l);
        mettre(C::CodeProducteur, producteur);
        mettre(C::OrigineInterv, origine(producteur));
    }
    if (change(k.resultat) || change(k.remarque)) {
        QString resultat = k.resultat(l), remarque = k.remarque(l);
        if (resultat.startsWith(u'<') || resultat.startsWith(u'>')) {
            if (remarque.isEmpty())
                remarque = resultat.startsWith(u'<') ? QStringLiteral("10") : QStringLiteral("3");
            resultat = sansSigne(resultat);
        }
        mettre(C::Resultat, resultat);
        mettre(C::RemarqueAnalyse, remarque);
    }
    if (change(k.labo)) {
        const QString &labo = k.labo(l);
        mettre(C::CodeLabo, labo);
        mettre(C::OrigineLabo, origine(labo));
    }
    if (change(k.dateAnalyse)) mettre(C::DateAnalyse, conv.dates.analyse(k.dateAnalyse(l)));
    if (change(k.qualification) || change(k.statut)) {
        const QualificationCode &q = conv.qualification(k.qualification(l), qualificationCode);
        mettre(C::Qualification, q.qualification);
        const QString &statut = k.statut(l);
        mettre(C::StatutMesure, statut.isEmpty() ? q.statut : statut);
    }
    if (change(k.preleveur)) {
        const QString &preleveur = k.preleveur(l);
        mettre(C::CodeProducteurEch, preleveur);
        mettre(C::OrigineProducteurEch, origine(preleveur));
    }
    if (change(k.quantification)) mettre(C::LimiteQuantification, sansSigne(k.quantification(l)));
    if (change(k.detection)) mettre(C::LimiteDetection, sansSigne(k.detection(l)));
}

// The extract's rows as rows of the import table, each made when asked into one reused row:
// the integration never holds the whole table.
class LignesExtrait : public LignesImport
{
  public:
    explicit LignesExtrait(const ExtraitCode &e)
        : m_extrait(e), m_colonnes(e), m_ligne(NB_COLONNES_IMPORT)
    {
    }
    int nombreLignes() const override { return m_extrait.nombreLignes(); }
    bool toujoursVide(ColonneImport c) const override
    {
        // The targets made from several codes or converted may be filled by any extract; a
        // copied one only by an extract that has one of its codes.
        for (const auto &[cible, champ] : m_colonnes.copies)
            if (cible == c) return champ.vide();
        return std::find(std::begin(CALCULEES), std::end(CALCULEES), c) == std::end(CALCULEES);
    }
    const QStringList &ligne(int l) const override
    {
        // An earlier row asked again (an error reported at the station's end) is made again.
        if (l != m_numero) {
            std::optional<LigneCode> avant;
            if (m_numero >= 0) avant = m_extrait.ligne(m_numero);
            ligneGrille(m_colonnes, m_conversions, avant ? &*avant : nullptr, m_extrait.ligne(l),
                        m_ligne);
            m_numero = l;
        }
        return m_ligne;
    }
    QString origine(int l) const override { return m_extrait.origine(l); }

  private:
    const ExtraitCode &m_extrait;
    const ColonnesCode m_colonnes;
    mutable Conversions m_conversions;
    mutable QStringList m_ligne;
    mutable int m_numero = -1;
};

} // namespace

std::unique_ptr<LignesImport> lignesExtrait(const ExtraitCode &extrait)
{
    return std::make_unique<LignesExtrait>(extrait);
}

BilanAnalyses integrerExtraitCode(const ExtraitCode &extrait, OptionsIntegration &options,
                                  Progression &progression, const ReponsesIntegration &reponses)
{
    // The replace mode stops at the first bad row: a line kept out stops it before anything.
    if (options.arretPremiereErreur && !extrait.rejets.isEmpty()) {
        BilanAnalyses refus;
        refus.lignesLues = extrait.nombreLignes() + int(extrait.rejets.size());
        refus.lignesEnErreur = extrait.rejets;
        refus.interrompu = true;
        refus.erreur = texteColonnesNommees::ligneRefusee(extrait.rejets.first());
        return refus;
    }
    const auto lignes = lignesExtrait(extrait);
    QVector<LigneIntegree> integrees;
    integrees.reserve(extrait.nombreLignes());
    OptionsIntegration o = options;
    o.identifiantPoint = [](const QString &s) { return supportCode(s).identifiant; };
    o.apresLigne = [&](const LigneIntegree &i) { integrees << i; };
    BilanAnalyses bilan = integrerAnalyses(*lignes, o, progression, reponses);
    options.creerIntervenants = o.creerIntervenants;
    completerExtrait(extrait, integrees, o, bilan);
    // Lines the loader kept out are rows in error like the others.
    ajouterLignesRefusees(bilan, extrait.rejets);
    return bilan;
}

} // namespace vyk
