#include "schema/DonneesInitiales.h"

#include "db/BaseDonnees.h"
#include "db/InsertionMassive.h"
#include "db/Lot.h"
#include "db/Sql.h"
#include "schema/EtapesMiseAJour.h"

#include <QDate>
#include <QSet>

namespace vyk {

namespace {

QString u8(const char *texte)
{
    return texte ? QString::fromUtf8(texte) : QString();
}
QVariant u8OuNul(const char *texte)
{
    return texte ? QVariant(QString::fromUtf8(texte)) : QVariant();
}

// Date of the seeded entries.
const QDateTime DATE_SEMENCE(QDate(1999, 1, 1), QTime(0, 0));

// Referential number of the lists that follow a national referential (version 3.1).
struct ReferentielInitial
{
    const char *champ;
    int numero; // 0: no number, no version
};
// clang-format off
constexpr ReferentielInitial REFERENTIELS[] = {
    {"ANALYSES.ACCREDITATION", 299},
    {"ANALYSES.CALCUL_INDICE", 478},
    {"ANALYSES.CODEREMARQUE", 155},
    {"ANALYSES.CONFIANCE", 499},
    {"ANALYSES.DIFFICULTE", 43},
    {"ANALYSES.LIEU", 156},
    {"ANALYSES.REPRESENTATIVITE", 153},
    {"ANALYSES.STATUT", 416},
    {"COMMUNES.SITUATION", 644},
    {"DISPOSITIFS.CONDITIONS_DIFFUSIONS", 271},
    {"DISPOSITIFS.TYPE_RESEAU", 290},
    {"ENTITES_HYDROGEOLOGIQUES.ETAT", 350},
    {"ENTITES_HYDROGEOLOGIQUES.TYPEDOMINANT", 87},
    {"FONCTIONS", 148},
    {"LITHOLOGIE.CODE_LITHOLOGIE", 165},
    {"MODES_MESURES.METHODE", 79},
    {"PIEZOMETRES.CODENATURE", 149},
    {"PIEZOMETRES.EXPRESSIONCOTE", 170},
    {"PIEZOMETRES.MODEGISEMENT", 81},
    {"PIEZOMETRES.TYPEPROJECTION", 22},
    {"PLUVIOMETRES.TYPEPROJECTION", 22},
    {"PRELEVEMENTS.CLASSE", 536},
    {"PRELEVEMENTS.DIATOMEES", 479},
    {"PRELEVEMENTS.FACIES", 53},
    {"PRELEVEMENTS.MATERIELS", 451},
    {"PRELEVEMENTS.TYPECOLMATAGE", 56},
    {"PRELEVEMENTS.VITESSE", 278},
    {"PRELEVEMENTS.VITESSE.MACROPHYTES", 278},
    {"QUALITOMETRES.CODEETAT", 146},
    {"QUALITOMETRES.CONTEXTEPISCICOLE", 312},
    {"QUALITOMETRES.HER1", 326},
    {"QUALITOMETRES.MODE_CONSERVATION", 476},
    {"QUALITOMETRES.SITUATION_PARTICULIERE", 477},
    {"QUALITOMETRES.TYPE", 161},
    {"SYSTEME_ALTIMETRIQUE.SYSTEMEALTIMETRIQUE", 76},
    {"TAXONS.DEVELOPPEMENT", 497},
    {"TAXONS.NIVEAUX", 222},
    {"TAXONS.THEME", 121},
    {"TYPE_LITHOLOGIQUE.CODETYPELITHOLOGIQUE", 166},
    {"USAGES", 481},
    {"ACCESSIBILITES.TYPE_CONDITION", 0},
    {"ACCESSIBILITES.TYPE_FERMETURE", 0},
    {"CHRONIQUE.VALIDITE", 0},
    {"DISPOSITIFS.ETATS", 0},
    {"ENTITES_HYDROGEOLOGIQUES.STATUT", 0},
    {"HYDRO.TYPESTATION", 0},
    {"INTERVENANTS.DOMAINES", 0},
    {"LIEN_PIEZO_INTERVENANTS.TYPEINTERVENANT", 0},
    {"PIEZOMETRES.ARTESIANISME", 0},
    {"PRELEVEMENTS.GROUPE", 0},
    {"PRELEVEMENTS.SAISONNALITES", 0},
    {"QUALITOMETRES.CODEQUALITE", 0},
};
// clang-format on

struct Finalite
{
    const char *code;
    const char *libelle;
};
// clang-format off
constexpr Finalite FINALITES[] = {
    {"ESO.1.1", "Connaissance générale / Autres"},
    {"ESO.1.2", "Connaissance générale / Contrôle de Surveillance "},
    {"ESO.2.1", "Usage / Gestion"},
    {"ESO.2.2", "Usage / Contrôle"},
    {"ESO.2.3", "Usage / Prévision et annonce des risques"},
    {"ESO.3.1", "Impact / Contrôle Opérationnel"},
    {"ESO.3.2", "Impact / Groupes phyto"},
    {"ESO.3.3", "Impact / Suivi des Installations Classées"},
    {"ESO.3.4", "Impact / Directive Nitrates"},
    {"ESO.3.5", "Impact / Autre"},
};
// clang-format on

// clang-format off
constexpr const char *ETATS[] = {
    "Etat écologique - Invertébrés",
    "Etat écologique - Diatomés",
    "Etat écologique - Poissons",
    "Etat écologique - Paramètres physico-chimiques",
    "Etat écologique - Polluants spécifiques",
    "Etat écologique - Eléments bilogiques",
    "Etat écologique - Paramètres physico-chimiques (plans d'eau)",
};
// clang-format on

struct Seuil
{
    const char *parametre;
    const char *unite;
    double seuil1, seuil2, seuil3;
};
// clang-format off
constexpr Seuil SEUILS[] = {
    {"1316", "175", 3, 5, 1},         {"1340", "173", 20, 5, 100},
    {"1305", "162", 3.5, 5, 5000},    {"1295", "0", 1.2, 2, 3750},
    {"1337", "164", 100, 175, 250},   {"1338", "179", 100, 175, 250},
    {"1393", "307", 125, 200, 10000}, {"1394", "321", 30, 50, 1000},
    {"1107", "133", 0.05, 0.1, 2},    {"1108", "133", 0.05, 0.1, 2},
    {"1177", "133", 0.05, 0.1, 2},    {"1272", "133", 0.5, 10, 200},
    {"1286", "133", 0.5, 10, 200},    {"1284", "133", 0.5, 200, 500},
};
// clang-format on

struct TypeStation
{
    const char *code;
    const char *nom;
};
// clang-format off
constexpr TypeStation TYPES_STATION[] = {
    {"QUALITOMETER", "Qualitomètre"}, {"PIEZOMETER", "Piézomètre"}, {"PLUVIOMETER", "Pluviomètre"}};

// clang-format off
constexpr FormatDonnees FORMATS[] = {
    {"ADES_TRAMES", "ADES Trames zippées"},
    {"VYLEN", "Format VYLEN (*.VYDA, *.VYK)"},
    {"SANDRE_REFERENTIEL_XML", "SANDRE REFERENTIEL XML"},
    {"QESOUT_XML", "Qesout XML (*.xml)"},
    {"EDILABO", "EDI LABO"},
    {"ADES CSV", "ADES CSV"},
    {"ADES SEQEAU", "SEQEAU"},
    {"QUALITEAU_SN", "QUALIT'EAU SEINE NORMANDIE"},
    {"NAIADES_PC", "NAIADES PC"},
    {"OSUR WEB CSV", "OSUR WEB CSV"},
    {"OSUR XLS", "OSUR XLS"},
    {"SANDRE_ADOUR_GARONNE", "ZIP ADOUR GARONNE"},
    {"SANDRE_TRAME_1997", "SANDRE TRAME 1997"},
    {"GDES", "GDES"},
    {"PC_CSV_NATIONAL", "Physico-chimie nationale CSV (colonnes nommées)"},
    {"CEMAGREF", "CEMAGREF Macro-Invertébrés/Diatomées"},
    {"MACROPHYTES", "IRSTEA Macrophytes"},
    {"OMNIDIA", "Omnidia Taxons et Résultats"},
    {"XLS RCS", "Masque OSUR Loire Bretagne"},
    {"ARS Excel", "ARS SISEAUX"},
    {"REPRISE_HISTO", "REPRISE_HISTO"},
};
// clang-format on

struct ParametrageData
{
    int id;
    const char *libelle;
    const char *projet;
};
// clang-format on
// clang-format off
constexpr ParametrageData PARAMETRAGES[] = {
    {1, "Chronique mini", "VYDA"}, {2, "Chronique moyenne", "VYDA"}, {3, "Brute modifiée", "VYDA"},
    {1, "Niveau mini", "VYW"},     {2, "Niveau moyen", "VYW"},       {3, "Brute supprimée", "VYW"},
};
// clang-format on

// Seed labels are longer than the 50 characters of older layouts; a server refuses them there.
void elargirLibelles(BaseDonnees &base)
{
    if (base.typeBase() != POSTGRESQL) return;
    const QVariant taille = base.valeur(QStringLiteral(
        "SELECT character_maximum_length FROM information_schema.columns WHERE table_schema = "
        "current_schema() "
        "AND lower(table_name) = 'codes_sandre' AND lower(column_name) = 'libelle'"));
    if (!taille.isNull() && taille.toInt() < 255)
        base.Execute(QStringLiteral("ALTER TABLE CODES_SANDRE ALTER Libelle TEXT(255)"));
}

// A seed's count once its batch is written; -1 when the batch is not (nothing of it is kept).
int ecrit(Lot &lot, int ajoutes)
{
    return lot.terminer() ? ajoutes : -1;
}

QString cle(const QString &champ, int code)
{
    return champ + u'\x1f' + QString::number(code);
}

} // namespace

int semerListesCodees(BaseDonnees &base)
{
    if (!base.tableExiste(QStringLiteral("CODES_SANDRE"))) return 0;
    elargirLibelles(base);

    // The old scale of the state values (entry 2 'Mauvais') is replaced by the current one.
    int ecrits = 0;
    if (!base
             .valeur(QStringLiteral(
                 "SELECT Code FROM CODES_SANDRE WHERE champ='ETATS.VALEURS' AND Code = 2 and "
                 "libelle = 'Mauvais'"))
             .isNull() &&
        base.Execute(QStringLiteral("DELETE FROM CODES_SANDRE WHERE champ='ETATS.VALEURS'")))
        ecrits += int(base.lignesModifiees());

    // What exists, in one query.
    QStringList champs;
    for (const ListeInitiale &l : listesInitiales())
        champs << sqlTexte(u8(l.champ));
    const Tableau t =
        base.extraire(QStringLiteral("SELECT Champ, Code FROM CODES_SANDRE WHERE Champ IN (") +
                      champs.join(QStringLiteral(", ")) + u')');
    QSet<QString> listesPresentes, entreesPresentes;
    for (int i = 0; i < t.nbLignes(); ++i) {
        const QString champ = t.texte(i, QStringLiteral("Champ")).toUpper();
        listesPresentes.insert(champ);
        entreesPresentes.insert(cle(champ, t.valeur(i, QStringLiteral("Code")).toInt()));
    }

    int ajoutes = 0;
    {
        Lot lot(base);
        InsertionMassive insertion(QStringLiteral("CODES_SANDRE"),
                                   {QStringLiteral("Champ"), QStringLiteral("Code"),
                                    QStringLiteral("Libelle"), QStringLiteral("Commentaire"),
                                    QStringLiteral("statut"), QStringLiteral("DateCreation"),
                                    QStringLiteral("DateModification"), QStringLiteral("Auteur"),
                                    QStringLiteral("projet")},
                                   base);
        for (const ListeInitiale &l : listesInitiales()) {
            const QString champ = u8(l.champ);
            if (!l.parEntree && listesPresentes.contains(champ)) continue;
            for (const EntreeInitiale &e : l.entrees) {
                if (entreesPresentes.contains(cle(champ, e.code))) continue;
                if (insertion.ajouter({champ, e.code, u8(e.libelle), u8OuNul(e.commentaire),
                                       QVariant(), DATE_SEMENCE, DATE_SEMENCE, QVariant(),
                                       QStringLiteral("VYK")}))
                    ++ajoutes;
            }
        }
        insertion.terminer();
        ajoutes -= int(insertion.erreurs().size());
        if (ecrit(lot, ajoutes) < 0) return -1;
    }

    // Entry 1 of the threshold lists always carries its current name.
    base.Execute(
        QStringLiteral("UPDATE CODES_SANDRE SET Libelle='SEQ-Eaux souterraines', Commentaire='Eaux "
                       "souterraines' WHERE Champ='SEUILS' AND Code=1"));
    return ajoutes + ecrits;
}

int semerReferentielsListes(BaseDonnees &base)
{
    if (!base.tableExiste(QStringLiteral("CODES_SANDRE_REFERENTIEL"))) return 0;
    const Tableau t = base.extraire(QStringLiteral("SELECT champ FROM CODES_SANDRE_REFERENTIEL"));
    QSet<QString> presents;
    for (int i = 0; i < t.nbLignes(); ++i)
        presents.insert(t.texte(i, QStringLiteral("champ")).trimmed().toUpper());
    int ajoutes = 0;
    Lot lot(base);
    InsertionMassive insertion(
        QStringLiteral("CODES_SANDRE_REFERENTIEL"),
        {QStringLiteral("champ"), QStringLiteral("code"), QStringLiteral("referentiel")}, base);
    for (const ReferentielInitial &r : REFERENTIELS) {
        if (presents.contains(u8(r.champ))) continue;
        if (insertion.ajouter({u8(r.champ), r.numero ? QVariant(r.numero) : QVariant(),
                               r.numero ? QVariant(QStringLiteral("3.1")) : QVariant()}))
            ++ajoutes;
    }
    insertion.terminer();
    return ecrit(lot, ajoutes - int(insertion.erreurs().size()));
}

int semerFinalites(BaseDonnees &base)
{
    if (!base.tableExiste(QStringLiteral("FINALITES")) ||
        !base.extraire(QStringLiteral("SELECT * FROM Finalites")).estVide())
        return 0;
    Lot lot(base);
    InsertionMassive insertion(QStringLiteral("FINALITES"),
                               {QStringLiteral("Code"), QStringLiteral("Libelle"),
                                QStringLiteral("Mnemonique"), QStringLiteral("Definition")},
                               base);
    for (const Finalite &f : FINALITES)
        insertion.ajouter({u8(f.code), u8(f.libelle), u8(f.code), QVariant()});
    insertion.terminer();
    return ecrit(lot, int(std::size(FINALITES)) - int(insertion.erreurs().size()));
}

int semerEtats(BaseDonnees &base)
{
    if (!base.tableExiste(QStringLiteral("ETATS")) ||
        !base.extraire(QStringLiteral("SELECT * FROM ETATS")).estVide())
        return 0;
    Lot lot(base);
    InsertionMassive insertion(QStringLiteral("ETATS"),
                               {QStringLiteral("CodeEtat"), QStringLiteral("Libelle"),
                                QStringLiteral("Mnemonique"), QStringLiteral("Finalite"),
                                QStringLiteral("principal"), QStringLiteral("commentaire"),
                                QStringLiteral("CodeEtatCalcule"), QStringLiteral("OrdreEtat")},
                               base);
    int code = 0;
    for (const char *libelle : ETATS)
        insertion.ajouter({double(code++), u8(libelle), QStringLiteral(""), QStringLiteral(""),
                           QStringLiteral("0"), QVariant(), QVariant(), QVariant()});
    insertion.terminer();
    return ecrit(lot, int(std::size(ETATS)) - int(insertion.erreurs().size()));
}

int semerSeuils(BaseDonnees &base)
{
    if (!base.tableExiste(QStringLiteral("ANALYSES_SEUILS"))) return 0;
    int ajoutes = 0;
    if (base.extraire(
                QStringLiteral("SELECT * FROM Analyses_Seuils WHERE TypeSeuil=1 and typeListe='0'"))
            .estVide()) {
        Lot lot(base);
        InsertionMassive insertion(QStringLiteral("ANALYSES_SEUILS"),
                                   {QStringLiteral("CodeParametre"), QStringLiteral("CodeUnite"),
                                    QStringLiteral("Seuil1"), QStringLiteral("Seuil2"),
                                    QStringLiteral("Seuil3"), QStringLiteral("Seuil4"),
                                    QStringLiteral("typeSeuil"), QStringLiteral("TypeListe"),
                                    QStringLiteral("codeElement"), QStringLiteral("TypeStation")},
                                   base);
        for (const Seuil &s : SEUILS)
            insertion.ajouter({u8(s.parametre), u8(s.unite), s.seuil1, s.seuil2, s.seuil3,
                               QVariant(), 1, QStringLiteral("0"), QVariant(), QVariant()});
        insertion.terminer();
        ajoutes = ecrit(lot, int(std::size(SEUILS)) - int(insertion.erreurs().size()));
    }
    return ajoutes;
}

namespace {

// Adds each (code, nom) entry whose code the table does not hold yet.
template <typename Entree>
int semerParCode(BaseDonnees &base, const QString &table, std::span<const Entree> entrees)
{
    if (!base.tableExiste(table)) return 0;
    const Tableau t = base.extraire(QStringLiteral("SELECT code FROM ") + table);
    QSet<QString> presents;
    for (int i = 0; i < t.nbLignes(); ++i)
        presents.insert(t.texte(i, QStringLiteral("code")));
    int ajoutes = 0;
    InstructionPreparee insertion = base.preparer(QStringLiteral("INSERT INTO ") + table +
                                                  QStringLiteral(" (code, nom) VALUES (?, ?)"));
    for (const Entree &e : entrees)
        if (!presents.contains(u8(e.code)) && insertion.executer({u8(e.code), u8OuNul(e.nom)}))
            ++ajoutes;
    return ajoutes;
}

} // namespace

int semerTypesStation(BaseDonnees &base)
{
    return semerParCode(base, QStringLiteral("STATION_TYPE"),
                        std::span<const TypeStation>(TYPES_STATION));
}

std::span<const FormatDonnees> formatsDonnees()
{
    return FORMATS;
}

int semerFormatsDonnees(BaseDonnees &base)
{
    const QString table = QStringLiteral("FORMAT_DONNEES");
    const int ajoutes = semerParCode(base, table, formatsDonnees());
    if (!base.tableExiste(table)) return ajoutes;
    // A model given its label after a database was made: the row without label gets it.
    const Tableau t = base.extraire(
        QStringLiteral("SELECT code FROM FORMAT_DONNEES WHERE nom IS NULL OR nom=''"));
    QSet<QString> sansNom;
    for (int i = 0; i < t.nbLignes(); ++i)
        sansNom.insert(t.texte(i, QStringLiteral("code")));
    int nommes = 0;
    InstructionPreparee nommer =
        base.preparer(QStringLiteral("UPDATE FORMAT_DONNEES SET nom=? WHERE code=?"));
    for (const FormatDonnees &f : formatsDonnees())
        if (f.nom && sansNom.contains(u8(f.code)) && nommer.executer({u8(f.nom), u8(f.code)}))
            ++nommes;
    return ajoutes + nommes;
}

int semerParametrageData(BaseDonnees &base)
{
    if (!base.tableExiste(QStringLiteral("PARAMETRAGE_DATA"))) return 0;
    base.Execute(QStringLiteral(
        "DELETE FROM PARAMETRAGE_DATA WHERE projet='VYDA' AND id=3 AND libelle='Brute supprimée'"));
    const Tableau t = base.extraire(QStringLiteral("SELECT projet, id FROM PARAMETRAGE_DATA"));
    QSet<QString> presents;
    for (int i = 0; i < t.nbLignes(); ++i)
        presents.insert(
            cle(t.texte(i, QStringLiteral("projet")), t.valeur(i, QStringLiteral("id")).toInt()));
    int ajoutes = 0;
    InstructionPreparee insertion = base.preparer(
        QStringLiteral("INSERT INTO PARAMETRAGE_DATA (id, libelle, projet) VALUES (?, ?, ?)"));
    for (const ParametrageData &p : PARAMETRAGES)
        if (!presents.contains(cle(u8(p.projet), p.id)) &&
            insertion.executer({double(p.id), u8(p.libelle), u8(p.projet)}))
            ++ajoutes;
    return ajoutes;
}

QStringList colonnesPeriodes()
{
    return {QStringLiteral("Jour"),      QStringLiteral("Jour_inverse"),
            QStringLiteral("Decade"),    QStringLiteral("Decade_inverse"),
            QStringLiteral("Mois"),      QStringLiteral("Mois_inverse"),
            QStringLiteral("Trimestre"), QStringLiteral("Trimestre_inverse"),
            QStringLiteral("Annee"),     QStringLiteral("Annee_inverse"),
            QStringLiteral("Hydro"),     QStringLiteral("Hydro_inverse")};
}

QVector<QStringList> lignesPeriodes(int moisDebutHydro)
{
    auto deux = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    // Day first, and the same month first.
    auto paire = [&](int jour, int mois) {
        return QStringList{deux(jour) + u'/' + deux(mois) + u'/',
                           deux(mois) + u'/' + deux(jour) + u'/'};
    };
    QVector<QStringList> lignes;
    lignes.reserve(366);
    for (QDate d(2000, 1, 1); d.year() == 2000; d = d.addDays(1)) {
        const int m = d.month(), j = d.day();
        const int decade = j <= 10 ? 5 : j <= 20 ? 15 : 25;
        const int milieuTrimestre = (m - 1) / 3 * 3 + 2;
        QStringList l;
        l << paire(j, m) << paire(decade, m) << paire(15, m) << paire(15, milieuTrimestre)
          << paire(1, 7) << paire(1, m >= moisDebutHydro ? 2 : 1);
        lignes.append(l);
    }
    return lignes;
}

int semerPeriodes(BaseDonnees &base, int moisDebutHydro)
{
    if (!base.tableExiste(QStringLiteral("PERIODES"))) return 0;
    const QStringList colonnes = colonnesPeriodes();
    const QVector<QStringList> attendues = lignesPeriodes(moisDebutHydro);

    // Rebuilt only when it differs from the calendar: a second run writes nothing.
    const Tableau t =
        base.extraire(QStringLiteral("SELECT ") + colonnes.join(QStringLiteral(", ")) +
                      QStringLiteral(" FROM PERIODES"));
    QSet<QString> presentes, voulues;
    for (int i = 0; i < t.nbLignes(); ++i) {
        QStringList l;
        for (int c = 0; c < t.nbColonnes(); ++c)
            l << t.texte(i, c);
        presentes.insert(l.join(u'|'));
    }
    for (const QStringList &l : attendues)
        voulues.insert(l.join(u'|'));
    if (t.nbLignes() == attendues.size() && presentes == voulues) return 0;

    Lot lot(base);
    if (!base.Execute(QStringLiteral("DELETE FROM PERIODES"))) return 0;
    InsertionMassive insertion(QStringLiteral("PERIODES"), colonnes, base);
    for (const QStringList &l : attendues) {
        QVector<QVariant> valeurs;
        valeurs.reserve(l.size());
        for (const QString &v : l)
            valeurs << v;
        insertion.ajouter(valeurs);
    }
    insertion.terminer();
    return ecrit(lot, int(attendues.size()) - int(insertion.erreurs().size()));
}

bool recalculerPeriodesHydro(int moisDebut, BaseDonnees &base)
{
    if (moisDebut < 1 || moisDebut > 12) return false;
    const QString mois = QStringLiteral("%1").arg(moisDebut, 2, 10, QLatin1Char('0'));
    Transaction transaction(base);
    if (!base.Execute(
            QStringLiteral("UPDATE PERIODES SET Hydro='01/01/', Hydro_inverse='01/01/'")) ||
        !base.Execute(QStringLiteral("UPDATE PERIODES SET Hydro='01/02/', Hydro_inverse='02/01/' "
                                     "WHERE jour_inverse>='") +
                      mois + QStringLiteral("/'")))
        return false;
    return transaction.valider();
}

namespace {
// The seeds in the order they run: lists before what refers to them.
// PERIODES comes last, from the month given to the run.
constexpr int (*SEMENCES[])(BaseDonnees &) = {
    semerListesCodees, semerReferentielsListes, semerFinalites,       semerEtats,
    semerSeuils,       semerTypesStation,       semerParametrageData, semerFormatsDonnees};
} // namespace

int ecrireDonneesInitiales(BaseDonnees &base, int moisDebutHydro)
{
    int n = 0;
    for (const auto semer : SEMENCES) {
        const int k = semer(base);
        if (k < 0) return -1;
        n += k;
    }
    const int k = semerPeriodes(base, moisDebutHydro);
    return k < 0 ? -1 : n + k;
}

void ecrireDonneesInitiales(MiseAJour &miseAJour)
{
    for (const auto semer : SEMENCES) {
        if (miseAJour.annule()) return;
        // Inside the step's batch: a refused commit is the step's, reported by the upgrade.
        if (semer(miseAJour.base()) < 0) return;
    }
    if (!miseAJour.annule()) semerPeriodes(miseAJour.base(), miseAJour.moisDebutHydro());
}

} // namespace vyk
