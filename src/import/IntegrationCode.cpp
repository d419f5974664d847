#include "db/Outils.h"
#include "import/AnalysesNommees.h"
#include "import/ColonnesNommees.h"
#include "import/ExtraitCodeInterne.h"

#include <QRegularExpression>

namespace vyk {

namespace {

using C = ColonneImport;

// Columns of the extract, found once for every row.
class LecteurCode
{
  public:
    explicit LecteurCode(const ExtraitCode &e) : m_extrait(e) {}
    // The first non-empty value of the codes, in order.
    QString operator()(int ligne, std::initializer_list<const char *> codes)
    {
        for (const char *code : codes) {
            auto i = m_colonnes.constFind(code);
            if (i == m_colonnes.constEnd())
                i = m_colonnes.insert(code, m_extrait.colonne(QString::fromLatin1(code)));
            const int c = *i;
            if (c < 0) continue;
            const QStringList &l = m_extrait.lignes[ligne];
            if (c < l.size() && !l[c].isEmpty()) return l[c];
        }
        return {};
    }

  private:
    const ExtraitCode &m_extrait;
    QHash<const char *, int> m_colonnes;
};

// How an organisation code reads: fourteen digits are a SIRET number, anything else a SANDRE
// code.
QString origine(const QString &code)
{
    static const QRegularExpression siret(QStringLiteral("^\\d{14}$"));
    return code.isEmpty() || siret.match(code).hasMatch() ? QString() : QStringLiteral("SANDRE");
}

QString sansSigne(const QString &v)
{
    QString t = v.trimmed();
    while (!t.isEmpty() && (t[0] == u'<' || t[0] == u'=' || t[0] == u'>'))
        t = t.mid(1).trimmed();
    return t;
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

// Dates repeat over the rows of a sample: each text is converted once.
class Dates
{
  public:
    QString prelevement(const QString &brut, const QString &heure)
    {
        return convertir(m_prelevements, brut + u'\x1f' + heure,
                         [&] { return texteDatePrelevement(brut, heure); });
    }
    QString analyse(const QString &brut)
    {
        return convertir(m_analyses, brut, [&] { return texteDateCode(brut); });
    }

  private:
    template <typename F>
    static QString convertir(QHash<QString, QString> &cache, const QString &cle, F f)
    {
        auto i = cache.constFind(cle);
        if (i == cache.constEnd()) i = cache.insert(cle, f());
        return *i;
    }
    QHash<QString, QString> m_prelevements, m_analyses;
};

void ligneGrille(LecteurCode &v, Dates &dates, int l, QStringList &g)
{
    auto mettre = [&](C c, const QString &valeur) { g[int(c)] = valeur; };
    mettre(C::CodeStation, cleStationCode(v(l, {"STQ.2", "ALQ.3", "PTE.2"})));
    mettre(C::TypeQualito, QStringLiteral("1"));
    mettre(C::DatePrelvt,
           dates.prelevement(v(l, {"PRL.8", "OPP.3", "ALQ.10", "PRZ.12"}), v(l, {"PRL.9"})));
    mettre(C::NumeroAnalyse, v(l, {"ALQ.23"}));
    const QString producteur = v(l, {"ALQ.19", "ALQ.24"});
    mettre(C::CodeProducteur, producteur);
    mettre(C::OrigineInterv, origine(producteur));
    mettre(C::CodeParam, v(l, {"ALQ.9", "PAR.2", "PAR.3"}));
    QString resultat = v(l, {"ALQ.12", "ALZ.17"}), remarque = v(l, {"ALQ.13"});
    if (resultat.startsWith(u'<') || resultat.startsWith(u'>')) {
        if (remarque.isEmpty())
            remarque = resultat.startsWith(u'<') ? QStringLiteral("10") : QStringLiteral("3");
        resultat = sansSigne(resultat);
    }
    mettre(C::Resultat, resultat);
    mettre(C::RemarqueAnalyse, remarque);
    mettre(C::CodeUnite, v(l, {"ALQ.27"}));
    const QString labo = v(l, {"ALQ.8"});
    mettre(C::CodeLabo, labo);
    mettre(C::OrigineLabo, origine(labo));
    mettre(C::DateAnalyse, dates.analyse(v(l, {"ALQ.10"})));
    mettre(C::LieuAnalyse, v(l, {"ALQ.14"}));
    mettre(C::Difficulte, v(l, {"ALQ.15"}));
    const QualificationCode q = qualificationCode(v(l, {"ALQ.18"}));
    mettre(C::Qualification, q.qualification);
    const QString statut = v(l, {"ALQ.29"});
    mettre(C::StatutMesure, statut.isEmpty() ? q.statut : statut);
    mettre(C::CodeMethode, v(l, {"ALQ.20"}));
    mettre(C::CodeFraction, v(l, {"ALQ.22", "FAN.2"}));
    mettre(C::CodeSupport, v(l, {"SUP.2"}));
    mettre(C::CommentAnalyse, v(l, {"ALQ.16"}));
    mettre(C::CommentResult, v(l, {"ALQ.17"}));
    mettre(C::ReferenceEch, v(l, {"ALQ.103"}));
    const QString preleveur = v(l, {"ALQ.26", "PRL.19"});
    mettre(C::CodeProducteurEch, preleveur);
    mettre(C::OrigineProducteurEch, origine(preleveur));
    mettre(C::ProfDeb, v(l, {"PRL.15"}));
    mettre(C::ProfFin, v(l, {"PRL.16"}));
    mettre(C::LimiteQuantification, sansSigne(v(l, {"ALQ.100"})));
    mettre(C::LimiteDetection, sansSigne(v(l, {"ALQ.101"})));
    mettre(C::AccreditationResultat, v(l, {"ALQ.28"}));
    mettre(C::IncertitudeAnalytique, v(l, {"ALQ.106"}));
    mettre(C::RendementExtraction, v(l, {"ALQ.107"}));
    mettre(C::CommentaireOperation, v(l, {"OPP.7"}));
}

} // namespace

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
    GrilleImport grille;
    LecteurCode lecteur(extrait);
    Dates dates;
    grille.lignes.reserve(extrait.nombreLignes());
    for (int l = 0; l < extrait.nombreLignes(); ++l)
        ligneGrille(
            lecteur, dates, l,
            grille.ajouterLigne(l < extrait.origines.size() ? extrait.origines[l] : QString()));
    QVector<LigneIntegree> integrees;
    integrees.reserve(extrait.nombreLignes());
    OptionsIntegration o = options;
    o.identifiantPoint = [](const QString &s) { return supportCode(s).identifiant; };
    o.apresLigne = [&](const LigneIntegree &i) { integrees << i; };
    BilanAnalyses bilan = integrerAnalyses(grille, o, progression, reponses);
    options.creerIntervenants = o.creerIntervenants;
    completerExtrait(extrait, integrees, o, bilan);
    // Lines the loader kept out are rows in error like the others.
    ajouterLignesRefusees(bilan, extrait.rejets);
    return bilan;
}

} // namespace vyk
