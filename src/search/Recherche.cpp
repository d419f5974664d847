#include "search/Recherche.h"
#include "search/RechercheInterne.h"

#include "db/BaseDonnees.h"
#include "db/Session.h"
#include "db/Sql.h"
#include "db/Tableau.h"
#include "monitoring/ReglesAnalyses.h"
#include "quality/Seuils.h"
#include "schema/TableAnalyses.h"
#include "search/Selections.h"
#include "users/AccesStations.h"

#include <QDate>

#include <cmath>

namespace vyk {

bool GrilleRecherche::vide() const
{
    for (const auto &s : seuils)
        if (s) return false;
    return true;
}

const std::array<CouleurRgb, 5> &couleursClasses()
{
    static const std::array<CouleurRgb, 5> couleurs = {
        {{22, 112, 241}, {0, 255, 0}, {243, 235, 85}, {255, 128, 0}, {255, 0, 0}}};
    return couleurs;
}

namespace detail {

ClassementGrille preparerClassement(const GrilleRecherche *grille)
{
    ClassementGrille p;
    // A grid without any bound classes nothing (it would show class 0 as past its last bound).
    if (!grille || grille->vide()) return p;
    QVector<double> posees;
    for (size_t k = 0; k < 4; ++k)
        if (grille->seuils[k]) {
            posees << *grille->seuils[k];
            p.derniere = int(k) + 1;
        }
    // The rule of the maps' classes, on the bounds at their places: same orientation, and bounds
    // that go up and down class nothing.
    p.classe = bornesMonotones(posees);
    p.decroissante = p.classe && bornesDecroissantes(posees);
    return p;
}

ClasseRecherche classer(double v, const GrilleRecherche &grille, const ClassementGrille &p)
{
    ClasseRecherche c;
    if (!p.classe) return c;
    c.classe = bornePassee(v, grille.seuils, p.decroissante);
    c.couleur = c.classe > 0 && c.classe == p.derniere ? 4 : c.classe;
    return c;
}

ClasseRecherche Contexte::classer(int grille, double v)
{
    while (classements.size() <= grille)
        classements << preparerClassement(&r.grilles[classements.size()]);
    return detail::classer(v, r.grilles[grille], classements[grille]);
}

} // namespace detail

ClasseRecherche classerRecherche(double v, const GrilleRecherche *grille)
{
    const detail::ClassementGrille p = detail::preparerClassement(grille);
    return p.classe ? detail::classer(v, *grille, p) : ClasseRecherche{};
}

bool classeRetenue(const ClasseRecherche &c, int filtre)
{
    if (filtre <= 4) return c.classe >= filtre;
    if (filtre <= 8) return c.classe < filtre - 4;
    return c.classe == 0 || (c.classe > 0 && c.couleur == 4);
}

const QStringList &libellesFiltreClasse()
{
    static const QStringList libelles = {
        QStringLiteral("Tout niveau"), QStringLiteral("> seuil 1"),
        QStringLiteral("> seuil 2"),   QStringLiteral("> seuil 3"),
        QStringLiteral("> seuil 4"),   QStringLiteral("<= seuil 1"),
        QStringLiteral("<= seuil 2"),  QStringLiteral("<= seuil 3"),
        QStringLiteral("<= seuil 4"),  QStringLiteral("<= seuil 1 et > seuil max")};
    return libelles;
}

GenreRecherche genreRecherche(const QString &cle)
{
    const QString k = cle.trimmed();
    static const QStringList physicoChimie = {"", "001", "031", "061", "071", "091", "691"};
    if (physicoChimie.contains(k)) return GenreRecherche::Analyses;
    if (k == u"-1") return GenreRecherche::Indices;
    if (k == u"-2") return GenreRecherche::Etats;
    if (k == u"101" || k == u"271") return GenreRecherche::TaxonsReleves;
    return GenreRecherche::Taxons;
}

int typeListeRecherche(const CriteresRecherche &c)
{
    switch (genreRecherche(c.pointPrelevement)) {
    case GenreRecherche::Analyses:
        return ListeParametres;
    case GenreRecherche::Taxons:
    case GenreRecherche::TaxonsReleves:
        return ListeTaxons;
    case GenreRecherche::Indices:
        return ListeIndices;
    case GenreRecherche::Etats:
        return ListeEtats;
    }
    return ListeParametres;
}

namespace detail {

QString listeTextes(const QStringList &codes)
{
    QStringList sql;
    for (const QString &c : codes)
        sql << sqlTexte(c.trimmed());
    return sql.join(u',');
}

bool entier(const QString &texte)
{
    bool ok = false;
    texte.trimmed().toLongLong(&ok);
    return ok;
}

std::optional<QDate> lireJour(const QString &texte, const QString &defaut)
{
    const QString t = texte.trimmed().isEmpty() ? defaut : texte.trimmed();
    const QDate d = QDate::fromString(t, QStringLiteral("dd/MM/yyyy"));
    if (!d.isValid()) return std::nullopt;
    return d;
}

QString minuit(const QDate &d)
{
    return dateSQL(QDateTime(d, QTime(0, 0)), true);
}

// The threshold type and its children.
bool typesSeuils(const QString &type, QStringList &types)
{
    if (type.trimmed().isEmpty()) return true;
    if (!entier(type)) return false;
    long nb = 0;
    Tableau t;
    const QString code = sqlTexte(type.trimmed());
    if (!bd().ExtraireRecords(QStringLiteral("SELECT distinct code FROM CODES_SANDRE where "
                                             "champ='SEUILS' AND (code=") +
                                  type.trimmed() + QStringLiteral(" OR codeReference=") + code +
                                  u')',
                              nb, t))
        return false;
    for (int l = 0; l < t.nbLignes(); ++l)
        if (entier(t.texte(l, QStringLiteral("code"))))
            types << t.texte(l, QStringLiteral("code")).trimmed();
    return true;
}

bool chargerGrilles(Contexte &x)
{
    QStringList types;
    if (!typesSeuils(x.c.typeSeuil, types)) return false;
    if (types.isEmpty()) return true;
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(QStringLiteral("SELECT codeParametre, codeUnite, seuil1, seuil2, "
                                             "seuil3, seuil4 FROM ANALYSES_SEUILS WHERE "
                                             "TypeListe='0' AND typeSeuil IN (") +
                                  types.join(u',') + u')',
                              nb, t))
        return false;
    for (int l = 0; l < t.nbLignes(); ++l) {
        const QString p = t.texte(l, QStringLiteral("codeParametre")).trimmed(),
                      u = t.texte(l, QStringLiteral("codeUnite")).trimmed();
        // A unit without its parameter makes no key.
        if (p.isEmpty() && !u.isEmpty()) continue;
        GrilleRecherche g;
        for (int k = 0; k < 4; ++k) {
            const QVariant &v = t.valeur(l, QStringLiteral("seuil") + QString::number(k + 1));
            if (!v.isNull()) g.seuils[size_t(k)] = v.toDouble();
        }
        const QString cle = p.isEmpty() ? QString() : p + u'/' + u;
        if (x.grilles.contains(cle)) continue;
        x.r.grilles << g;
        x.grilles.insert(cle, int(x.r.grilles.size() - 1));
    }
    return true;
}

int grilleDe(const Contexte &x, const QString &parametre, const QString &unite)
{
    for (const QString &cle : {parametre + u'/' + unite, parametre + u'/', QString()}) {
        const auto it = x.grilles.constFind(cle);
        if (it != x.grilles.constEnd()) return it.value();
    }
    return -1;
}

int ajouterIndicateur(Contexte &x, const QString &parametre, const QString &unite,
                      const QString &nom)
{
    Indicateur i;
    i.parametre = parametre;
    i.unite = unite;
    i.code = parametre + u'/' + unite;
    i.element = nom;
    x.r.indicateurs << i;
    x.indicateurs.insert(i.code, int(x.r.indicateurs.size() - 1));
    return int(x.r.indicateurs.size() - 1);
}

// The parameter rows of the chosen lists and of their sub-lists, in list order.
bool chargerSelection(Contexte &x)
{
    if (x.c.selections.isEmpty()) return true;
    x.avecSelection = true;
    QStringList codes;
    for (const QString &code : x.c.selections)
        codes << codesAvecSousListes(code.trimmed(), ListeParametres);
    const QVector<MembreSelection> membres = membresSelections(codes, ListeParametres);
    QStringList parametres;
    for (const MembreSelection &m : membres)
        parametres << m.codeParametre.trimmed();
    long nb = 0;
    Tableau t;
    if (!parametres.isEmpty() &&
        !bd().ExtraireRecords(QStringLiteral("SELECT Code, Nom, Calcule, codeParametresCalcul "
                                             "FROM ANALYSES_PARAMETRES WHERE Code IN (") +
                                  listeTextes(parametres) + u')',
                              nb, t))
        return false;
    QHash<QString, QString> noms;
    QHash<QString, QStringList> composants;
    for (int l = 0; l < t.nbLignes(); ++l) {
        const QString code = t.texte(l, QStringLiteral("Code")).trimmed();
        noms.insert(code, t.texte(l, QStringLiteral("Nom")));
        if (t.texte(l, QStringLiteral("Calcule")).trimmed() == u"1")
            for (const QString &c :
                 t.texte(l, QStringLiteral("codeParametresCalcul")).split(u';', Qt::SkipEmptyParts))
                composants[code] << c.trimmed();
    }
    for (const MembreSelection &m : membres) {
        const QString p = m.codeParametre.trimmed(), u = m.codeUnite.trimmed();
        if (p.isEmpty() || x.indicateurs.contains(p + u'/' + u)) continue;
        ajouterIndicateur(x, p, u, noms.value(p));
        if (!composants.contains(p)) continue;
        x.calcules.push_back({p, u, composants.value(p)});
        for (const QString &c : composants.value(p))
            x.composantDe[c] << int(x.calcules.size() - 1);
    }
    return true;
}

// Each sample's total of a calculated parameter's components becomes one result of it, classed
// against its own grid.
void totaliserCalcules(Contexte &x)
{
    QHash<QString, QString> symboles;
    for (Contexte::Somme &s : x.sommes) {
        const ParametreCalcule &c = x.calcules[s.calcule];
        if (!symboles.contains(c.unite))
            symboles.insert(c.unite, texteValeur(bd().valeur(
                                         QStringLiteral("SELECT Symbole FROM ANALYSES_UNITES "
                                                        "WHERE Code=") +
                                         sqlTexte(c.unite))));
        const int indicateur = x.indicateurs.value(c.parametre + u'/' + c.unite);
        LigneResultat r = s.modele;
        r.parametre = x.partage(c.parametre);
        r.unite = x.partage(c.unite);
        r.nomParametre = x.partage(x.r.indicateurs[indicateur].element);
        r.symbole = x.partage(symboles.value(c.unite));
        r.numAnalyse = r.numLabo = r.dateAnalyse = r.commentaire = {};
        r.definirValeur(s.total);
        r.detection = s.detection;
        r.grille = grilleDe(x, c.parametre, c.unite);
        r.classe = {};
        if (r.detection && r.grille >= 0) r.classe = x.classer(r.grille, s.total);
        retenir(x, indicateur, std::move(r), s.total);
    }
}

bool chargerStations(Contexte &x)
{
    QString sql = QStringLiteral(
        "SELECT Q.CodeQualitometre, Q.CodeBSS, Q.Nom, Q.her_niveau1, Q.codeBassinVersant, Q.X, "
        "Q.Y, Q.TypeProjection, M.Code_ME, H.Libelle AS NomHer, B.Nom AS NomBv, Q.typeStation, "
        "Q.type_fr FROM "
        "QUALITOMETRES Q LEFT JOIN LIEN_QUALITO_MASSE_EAU M ON "
        "(M.CodeQualitometre=Q.CodeQualitometre) LEFT JOIN CODES_SANDRE H ON "
        "(H.Champ='QUALITOMETRES.HER1' AND H.Code=Q.her_niveau1) LEFT JOIN BASSINS_VERSANTS B ON "
        "(B.codeBV=Q.codeBassinVersant) WHERE 1=1");
    if (!x.c.stations.isEmpty()) {
        QStringList codes;
        for (qint64 s : x.c.stations)
            codes << QString::number(s);
        sql += QStringLiteral(" AND Q.CodeQualitometre IN (") + codes.join(u',') + u')';
    }
    if (!x.c.jobExecution.trimmed().isEmpty())
        sql += QStringLiteral(" AND Q.CodeQualitometre IN (SELECT codeQualitometre FROM "
                              "QUALITOMETRES_POINTS_OPERATIONS WHERE jobExecutionId=") +
               x.c.jobExecution.trimmed() + u')';
    // The user's station access applies whatever chose the stations; an unattended run (the
    // command line without a login) has no user to limit.
    const QString acces = session().estConnecte()
                              ? conditionAccesStations(QStringLiteral("Q.CodeQualitometre"))
                              : QString();
    if (!acces.isEmpty()) sql += QStringLiteral(" AND ") + acces;
    sql += QStringLiteral(" ORDER BY Q.CodeBSS, Q.CodeQualitometre");
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(sql, nb, t)) return false;
    for (int l = 0; l < t.nbLignes(); ++l) {
        const qint64 code = t.valeur(l, QStringLiteral("CodeQualitometre")).toLongLong();
        // A station in several water bodies keeps the first.
        if (!x.r.stations.isEmpty() && x.r.stations.last().code == code) continue;
        x.r.stations << StationRecherche{code,
                                         t.texte(l, QStringLiteral("CodeBSS")),
                                         t.texte(l, QStringLiteral("Nom")),
                                         {},
                                         t.texte(l, QStringLiteral("Code_ME")),
                                         t.texte(l, QStringLiteral("her_niveau1")),
                                         t.texte(l, QStringLiteral("codeBassinVersant")),
                                         t.texte(l, QStringLiteral("X")),
                                         t.texte(l, QStringLiteral("Y")),
                                         t.texte(l, QStringLiteral("TypeProjection")),
                                         t.texte(l, QStringLiteral("NomHer")),
                                         t.texte(l, QStringLiteral("NomBv")),
                                         t.texte(l, QStringLiteral("typeStation")).trimmed(),
                                         t.texte(l, QStringLiteral("type_fr")).trimmed()};
    }
    return true;
}

QString selectAnalyses(const Contexte &x, const QString &t, qint64 station)
{
    const CriteresRecherche &c = x.c;
    QString sql =
        QStringLiteral("SELECT ") + t + QStringLiteral(".NumAnalyse, ") + t +
        QStringLiteral(".DateAnalyse, ANALYSES_PARAMETRES.Nom AS NomParametre, "
                       "ANALYSES_UNITES.Symbole, ") +
        t + QStringLiteral(".Resultat, ") + t +
        QStringLiteral(".NumLabo, LABO.Nom AS NomLabo, PRELEVEMENTS.DateDebut, ") + t +
        QStringLiteral(".CodeRemarque, ") + t + QStringLiteral(".CodeParametre, ") + t +
        QStringLiteral(".CodeQualification, ") + t + QStringLiteral(".StatutMesure, ") + t +
        QStringLiteral(".CodeSupport, ") + t +
        QStringLiteral(".NumPrelevement, "
                       "PRELEVEMENTS.codeOperation, ") +
        t + QStringLiteral(".CodeUnite, ") + t +
        QStringLiteral(".CommentaireResultat, QUALITOMETRES_POINTS_OPERATIONS.qualification AS "
                       "QualificationOperation, QUALITOMETRES_POINTS_OPERATIONS.statut AS "
                       "StatutOperation FROM ") +
        jointureAnalyses(t) +
        QStringLiteral(" LEFT JOIN ANALYSES_PARAMETRES ON (ANALYSES_PARAMETRES.Code=") + t +
        QStringLiteral(".CodeParametre) LEFT JOIN ANALYSES_UNITES ON (ANALYSES_UNITES.Code=") + t +
        QStringLiteral(".CodeUnite) LEFT JOIN INTERVENANTS LABO ON (LABO.CodeIntervenant=") + t +
        QStringLiteral(".CodeLabo) WHERE ") + t + QStringLiteral(".CodeQualitometre=") +
        QString::number(station) + QStringLiteral(" AND PRELEVEMENTS.DateDebut >= ") + x.debut +
        QStringLiteral(" AND PRELEVEMENTS.DateDebut < ") + x.fin;
    if (!c.parametre.trimmed().isEmpty())
        sql += QStringLiteral(" AND ") + t + QStringLiteral(".CodeParametre=") +
               sqlTexte(c.parametre.trimmed());
    if (!c.unite.trimmed().isEmpty())
        sql += QStringLiteral(" AND ") + t + QStringLiteral(".CodeUnite=") +
               sqlTexte(c.unite.trimmed());
    if (!c.qualification.trimmed().isEmpty())
        sql += QStringLiteral(" AND ") + filtreQualification(t, c.qualification);
    if (!c.statut.trimmed().isEmpty()) sql += QStringLiteral(" AND ") + filtreStatut(t, c.statut);
    if (!c.support.trimmed().isEmpty())
        sql += QStringLiteral(" AND ") + filtreSupport(t, c.support);
    if (c.detectionsSeulement)
        sql += QStringLiteral(" AND (") + t + QStringLiteral(".CodeRemarque is null OR ") + t +
               QStringLiteral(".CodeRemarque NOT IN ('2','9','10'))");
    if (!c.producteur.trimmed().isEmpty()) {
        const QString p = c.producteur.trimmed();
        sql += QStringLiteral(" AND (PRELEVEMENTS.CodeProducteurPrincipal=") + sqlTexte(p) +
               QStringLiteral(" OR QUALITOMETRES_POINTS_OPERATIONS.codeProducteur=") +
               (entier(p) ? p : QStringLiteral("NULL")) + u')';
    }
    if (!c.pointPrelevement.trimmed().isEmpty())
        sql += QStringLiteral(" AND EXISTS (SELECT 1 FROM QUALITOMETRES_POINTS QP WHERE "
                              "QP.codeQualitometre=QUALITOMETRES_POINTS_OPERATIONS."
                              "codeQualitometre AND QP.codePoint=QUALITOMETRES_POINTS_OPERATIONS."
                              "codePoint AND QP.identifiant=") +
               sqlTexte(c.pointPrelevement.trimmed()) + u')';
    if (!c.jobExecution.trimmed().isEmpty())
        sql += QStringLiteral(" AND QUALITOMETRES_POINTS_OPERATIONS.jobExecutionId=") +
               c.jobExecution.trimmed();
    return sql + QStringLiteral(" ORDER BY PRELEVEMENTS.DateDebut ASC, ") + t +
           QStringLiteral(".NumPrelevement ASC, ") + t + QStringLiteral(".NumAnalyse ASC");
}

void compter(Indicateur &i, const LigneResultat &l, const std::optional<double> &valeur)
{
    ++i.recherches;
    if (l.detection) {
        ++i.detections;
        ++i.parClasse[size_t(l.classe.classe)];
        if (l.classe.classe >= 1) ++i.depassements;
    } else {
        ++i.parClasse[0];
    }
    if (valeur) i.valeurs.push_back(*valeur);
}

void noterLieux(Indicateur &i, const StationRecherche &s, bool detection)
{
    const std::array<QString, 4> cles = {s.codeBSS, s.masseEau, s.her, s.bv};
    for (size_t k = 0; k < 4; ++k) {
        if (cles[k].isEmpty()) continue;
        bool &d = i.lieux[k][cles[k]];
        d = d || detection;
    }
}

int indicateurDe(Contexte &x, const QString &parametre, const QString &unite, const QString &nom)
{
    int indicateur = x.indicateurs.value(parametre + u'/' + unite, -1);
    if (indicateur < 0 && x.avecSelection) indicateur = x.indicateurs.value(parametre + u'/', -1);
    if (indicateur < 0 && !x.avecSelection)
        indicateur = ajouterIndicateur(x, parametre, unite, nom);
    return indicateur;
}

void retenir(Contexte &x, int indicateur, LigneResultat &&ligne,
             const std::optional<double> &valeur)
{
    Indicateur &i = x.r.indicateurs[indicateur];
    compter(i, ligne, valeur);
    compter(x.r.total, ligne, std::nullopt);
    if (x.lieuxNotes.size() <= indicateur) x.lieuxNotes.resize(indicateur + 1, {-1, false});
    auto &[station, detection] = x.lieuxNotes[indicateur];
    if (station != ligne.station || (ligne.detection && !detection)) {
        noterLieux(i, x.r.stations[ligne.station], ligne.detection);
        detection = (station == ligne.station && detection) || ligne.detection;
        station = ligne.station;
    }
    if (classeRetenue(ligne.classe, x.c.filtreClasse)) x.r.lignes << std::move(ligne);
}

FormeResultat formeRemarque(const QVariant &remarque)
{
    if (estRemarqueInferieure(remarque)) return FormeResultat::Inferieur;
    if (estRemarqueSuperieure(remarque)) return FormeResultat::Superieur;
    return FormeResultat::Nombre;
}

// A component's value goes to the total of each calculated parameter it belongs to, per sample.
void ajouterAuxSommes(Contexte &x, const QString &parametre, const LigneResultat &r,
                      const std::optional<double> &valeur)
{
    for (int k : x.composantDe.value(parametre)) {
        const QString cle =
            QStringLiteral("%1|%2|").arg(k).arg(r.station) + x.r.texte(r.numPrelevement);
        auto it = x.indexSommes.find(cle);
        if (it == x.indexSommes.end()) {
            it = x.indexSommes.insert(cle, int(x.sommes.size()));
            x.sommes.push_back({k, r.station, r, 0, false});
        }
        Contexte::Somme &s = x.sommes[*it];
        if (r.detection) s.total += *valeur;
        s.detection = s.detection || r.detection;
    }
}

// The analyses query's columns, found by name once per station.
struct ColonnesAnalyses
{
    explicit ColonnesAnalyses(const Ligne &l)
        : numAnalyse(l.colonne(u"NumAnalyse")), dateAnalyse(l.colonne(u"DateAnalyse")),
          nomParametre(l.colonne(u"NomParametre")), symbole(l.colonne(u"Symbole")),
          resultat(l.colonne(u"Resultat")), numLabo(l.colonne(u"NumLabo")),
          nomLabo(l.colonne(u"NomLabo")), dateDebut(l.colonne(u"DateDebut")),
          remarque(l.colonne(u"CodeRemarque")), parametre(l.colonne(u"CodeParametre")),
          qualification(l.colonne(u"CodeQualification")), statut(l.colonne(u"StatutMesure")),
          support(l.colonne(u"CodeSupport")), numPrelevement(l.colonne(u"NumPrelevement")),
          operation(l.colonne(u"codeOperation")), unite(l.colonne(u"CodeUnite")),
          commentaire(l.colonne(u"CommentaireResultat")),
          qualificationOperation(l.colonne(u"QualificationOperation")),
          statutOperation(l.colonne(u"StatutOperation"))
    {
    }
    int numAnalyse, dateAnalyse, nomParametre, symbole, resultat, numLabo, nomLabo, dateDebut,
        remarque, parametre, qualification, statut, support, numPrelevement, operation, unite,
        commentaire, qualificationOperation, statutOperation;
};

// A code's cell without its surrounding blanks.
CelluleRecherche codePartage(Contexte &x, const Ligne &l, int colonne)
{
    const QByteArrayView t = l.utf8(colonne).trimmed();
    // Blanks beyond ASCII (a no-break space) are trimmed as texts trim them.
    if (!t.isEmpty() && (uchar(t.front()) >= 0x80 || uchar(t.back()) >= 0x80))
        return x.partage(l.texte(colonne).trimmed());
    return x.partage(t);
}

// The indicator, grid and calculations of a parameter and unit, worked out on their first row.
Contexte::Couple coupleDe(Contexte &x, CelluleRecherche p, CelluleRecherche u, CelluleRecherche nom)
{
    const quint64 cle = quint64(p.brute()) << 32 | u.brute();
    if (const auto it = x.couples.constFind(cle); it != x.couples.constEnd()) return *it;
    Contexte::Couple c{x.r.texte(p), x.r.texte(u)};
    c.indicateur = indicateurDe(x, c.parametre, c.unite, x.r.texte(nom));
    c.grille = grilleDe(x, c.parametre, c.unite);
    c.composant = x.composantDe.contains(c.parametre);
    x.couples.insert(cle, c);
    return c;
}

// The remark's form by its cell's bytes: the few remark codes are each read once.
FormeResultat formeRemarque(Contexte &x, const Ligne &l, int colonne)
{
    if (l.estNul(colonne)) return FormeResultat::Nombre;
    const QByteArrayView t = l.utf8(colonne);
    for (const auto &[octets, forme] : x.remarques)
        if (QByteArrayView(octets) == t) return forme;
    const FormeResultat forme = formeRemarque(l.valeur(colonne));
    if (x.remarques.size() < 16) x.remarques.push_back({t.toByteArray(), forme});
    return forme;
}

} // namespace detail

void detail::definirResultat(Contexte &x, LigneResultat &r, const QVariant &v, double d,
                             FormeResultat forme)
{
    if (v.isNull()) return;
    const int type = v.typeId();
    const bool entier = type == QMetaType::Int || type == QMetaType::LongLong ||
                        type == QMetaType::UInt || type == QMetaType::ULongLong;
    if (type == QMetaType::Double || (entier && std::abs(d) < 1e15 && double(v.toLongLong()) == d))
        return r.definirValeur(d, forme);
    r.valeur = d;
    r.forme = FormeResultat::Texte;
    const QString marque = forme == FormeResultat::Inferieur   ? QStringLiteral("<")
                           : forme == FormeResultat::Superieur ? QStringLiteral(">")
                                                               : QString();
    r.texteResultat = x.partage(marque + texteValeur(v));
}

namespace detail {

void lireLigne(Contexte &x, int station, const Ligne &l, const ColonnesAnalyses &k)
{
    const CelluleRecherche p = codePartage(x, l, k.parametre), u = codePartage(x, l, k.unite);
    const CelluleRecherche nom = x.partage(l.utf8(k.nomParametre));
    const Contexte::Couple c = coupleDe(x, p, u, nom);
    if (c.indicateur < 0 && !c.composant) return;
    LigneResultat r;
    r.station = station;
    r.numAnalyse = x.partage(l.utf8(k.numAnalyse));
    r.dateAnalyse = x.partage(l.utf8(k.dateAnalyse));
    r.nomParametre = nom;
    r.symbole = x.partage(l.utf8(k.symbole));
    r.parametre = p;
    r.unite = u;
    if (!l.estNul(k.resultat))
        definirResultat(x, r, l.valeur(k.resultat), l.reel(k.resultat),
                        formeRemarque(x, l, k.remarque));
    r.numLabo = x.partage(l.utf8(k.numLabo));
    r.labo = x.partage(l.utf8(k.nomLabo));
    r.definirPrelevement(l.date(k.dateDebut));
    r.qualification =
        x.partage(l.utf8(l.estNul(k.qualification) ? k.qualificationOperation : k.qualification));
    r.statut = x.partage(l.utf8(l.estNul(k.statut) ? k.statutOperation : k.statut));
    r.support = x.partage(l.utf8(k.support));
    r.numPrelevement = x.partage(l.utf8(k.numPrelevement));
    r.operation = x.partage(l.utf8(k.operation));
    r.commentaire = x.partage(l.utf8(k.commentaire));
    std::optional<double> valeur;
    if (r.forme != FormeResultat::Vide) valeur = r.valeur;
    r.detection = valeur && r.forme != FormeResultat::Inferieur;
    r.grille = c.grille;
    if (r.detection && r.grille >= 0) r.classe = x.classer(r.grille, *valeur);
    if (c.composant) ajouterAuxSommes(x, c.parametre, r, valeur);
    if (c.indicateur >= 0) retenir(x, c.indicateur, std::move(r), valeur);
}

// false when a statement failed.
bool rechercherStation(Contexte &x, int station, const QVector<TableAnalysesStation> &tables)
{
    const StationRecherche &s = x.r.stations[station];
    const auto table = std::find_if(tables.begin(), tables.end(), [&](const auto &t) {
        return qint64(t.codeQualitometre) == s.code;
    });
    if (table == tables.end()) return true;
    std::optional<ColonnesAnalyses> colonnes;
    // One station's analyses are held whole: a server sends them in one result.
    return bd().parcourirEnBloc(selectAnalyses(x, table->table, s.code), [&](const Ligne &l) {
        if (l.premiere()) colonnes.emplace(l);
        lireLigne(x, station, l, *colonnes);
        return true;
    });
}

} // namespace detail

using namespace detail;

IssueRecherche rechercherResultats(const CriteresRecherche &criteres, ResultatRecherche &resultat,
                                   QString &message, Progression &progression)
{
    resultat = ResultatRecherche{};
    message.clear();
    const auto debut = lireJour(criteres.dateDebut, QStringLiteral("01/01/1900"));
    const auto fin = lireJour(criteres.dateFin, QStringLiteral("31/12/2050"));
    const bool jobValide =
        criteres.jobExecution.trimmed().isEmpty() || entier(criteres.jobExecution);
    if (!debut || !fin || !jobValide) {
        message = MESSAGE_DATES;
        return IssueRecherche::DatesInvalides;
    }
    Contexte x{criteres, resultat, minuit(*debut), minuit(*fin)};
    x.genre = genreRecherche(criteres.pointPrelevement);
    resultat.genre = x.genre;
    const bool analyses = x.genre == GenreRecherche::Analyses;
    resultat.total.code = QStringLiteral("Total");
    if (!(analyses ? chargerGrilles(x) && chargerSelection(x) : preparerOperations(x)) ||
        !chargerStations(x) || !coordonneesAffichage(resultat.stations)) {
        message = bd().derniereErreur();
        return IssueRecherche::Echec;
    }
    const QVector<TableAnalysesStation> tables =
        analyses ? tablesAnalysesStations() : QVector<TableAnalysesStation>{};
    QSet<QString> tablesListes;
    if (!analyses)
        for (const QString &t : bd().tables())
            tablesListes.insert(t.toUpper());
    const int n = int(resultat.stations.size());
    for (int s = 0; s < n; ++s) {
        if (progression.annule()) {
            resultat = ResultatRecherche{};
            return IssueRecherche::Annulee;
        }
        progression.message(QStringLiteral("Recherches des analyses ") +
                            resultat.stations[s].codeBSS);
        progression.position(s, n + 1);
        if (!(analyses ? rechercherStation(x, s, tables)
                       : rechercherStationOperations(x, s, tablesListes))) {
            message = bd().derniereErreur();
            resultat = ResultatRecherche{};
            return IssueRecherche::Echec;
        }
    }
    if (!analyses) retenirComptes(x);
    progression.message(QStringLiteral("Calcul des totaux des paramètres calculés"));
    totaliserCalcules(x);
    progression.message(QStringLiteral("Calcul des indicateurs"));
    progression.position(n + 1, n + 1);
    if (resultat.total.recherches == 0) {
        resultat = ResultatRecherche{};
        message = MESSAGE_AUCUN_RESULTAT;
        return IssueRecherche::AucunResultat;
    }
    return IssueRecherche::Trouve;
}

IssueRecherche rapportSeuils(qint64 execution, const QString &typeSeuil, bool inferieurSeuil1,
                             bool superieurMax, ResultatRecherche &resultat, QString &message,
                             Progression &progression)
{
    CriteresRecherche c;
    c.jobExecution = QString::number(execution);
    c.typeSeuil = typeSeuil;
    const IssueRecherche issue = rechercherResultats(c, resultat, message, progression);
    if (issue != IssueRecherche::Trouve) return issue;
    QVector<LigneResultat> anomalies;
    for (LigneResultat &l : resultat.lignes) {
        if (l.grille < 0) continue;
        const bool sous = inferieurSeuil1 && l.classe.classe == 0;
        const bool audela = superieurMax && l.classe.classe > 0 && l.classe.couleur == 4;
        if (sous || audela) anomalies << std::move(l);
    }
    resultat.lignes = std::move(anomalies);
    return issue;
}

} // namespace vyk
