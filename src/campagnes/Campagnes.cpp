#include "campagnes/Campagnes.h"

#include "db/BaseDonnees.h"
#include "db/Lot.h"
#include "db/Sql.h"

#include <QHash>

#include <algorithm>

namespace vyk {

namespace {

// The stored columns of CAMPAGNES after its code, in the order of valeursFiche().
const QStringList COLONNES_CAMPAGNE = {QStringLiteral("libelle"),
                                       QStringLiteral("dateDebutApplication"),
                                       QStringLiteral("dateFinApplication"),
                                       QStringLiteral("codePrestataire"),
                                       QStringLiteral("typeDemande"),
                                       QStringLiteral("contexteCodification"),
                                       QStringLiteral("referenceMarche"),
                                       QStringLiteral("commentaire"),
                                       QStringLiteral("codeIntervenant"),
                                       QStringLiteral("nomContact"),
                                       QStringLiteral("codePayeur"),
                                       QStringLiteral("codePreleveur"),
                                       QStringLiteral("codeSupport"),
                                       QStringLiteral("codeListeParametres"),
                                       QStringLiteral("typeCampagne"),
                                       QStringLiteral("bancarisationAutorise")};

// A campaign or organisation code as a number; nullopt when it is not one.
std::optional<double> codeNumerique(const QString &code)
{
    bool estNombre = false;
    const double n = code.trimmed().toDouble(&estNombre);
    return estNombre ? std::optional<double>(n) : std::nullopt;
}

QVariant texteOuNull(const QString &texte)
{
    const QString t = texte.trimmed();
    return t.isEmpty() ? QVariant() : QVariant(t);
}

QVector<QVariant> valeursFiche(const FicheCampagne &f)
{
    bool estNombre = false;
    const int type = f.typeCampagne.trimmed().toInt(&estNombre);
    return {texteOuNull(f.libelle),
            texteOuNull(f.dateDebut),
            texteOuNull(f.dateFin),
            texteOuNull(f.codePrestataire),
            texteOuNull(f.typeDemande),
            texteOuNull(f.contexteCodification),
            texteOuNull(f.referenceMarche),
            texteOuNull(f.commentaire),
            texteOuNull(f.codeIntervenant),
            texteOuNull(f.nomContact),
            texteOuNull(f.codePayeur),
            texteOuNull(f.codePreleveur),
            texteOuNull(f.codeSupport),
            texteOuNull(f.codeListeParametres),
            estNombre ? QVariant(type) : QVariant(),
            QVariant(f.bancarisationAutorisee ? QStringLiteral("1") : QStringLiteral("0"))};
}

FicheCampagne ficheDeLigne(const Tableau &t, int i)
{
    FicheCampagne f;
    f.code = t.texte(i, QStringLiteral("codeCampagne"));
    f.libelle = t.texte(i, QStringLiteral("libelle"));
    f.dateDebut = t.texte(i, QStringLiteral("dateDebutApplication"));
    f.dateFin = t.texte(i, QStringLiteral("dateFinApplication"));
    f.codePrestataire = t.texte(i, QStringLiteral("codePrestataire"));
    f.typeDemande = t.texte(i, QStringLiteral("typeDemande"));
    f.contexteCodification = t.texte(i, QStringLiteral("contexteCodification"));
    f.referenceMarche = t.texte(i, QStringLiteral("referenceMarche"));
    f.commentaire = t.texte(i, QStringLiteral("commentaire"));
    f.codeIntervenant = t.texte(i, QStringLiteral("codeIntervenant"));
    f.nomContact = t.texte(i, QStringLiteral("nomContact"));
    f.codePayeur = t.texte(i, QStringLiteral("codePayeur"));
    f.codePreleveur = t.texte(i, QStringLiteral("codePreleveur"));
    f.codeSupport = t.texte(i, QStringLiteral("codeSupport"));
    f.codeListeParametres = t.texte(i, QStringLiteral("codeListeParametres"));
    f.typeCampagne = t.texte(i, QStringLiteral("typeCampagne"));
    f.bancarisationAutorisee = t.texte(i, QStringLiteral("bancarisationAutorise")) != u"0";
    return f;
}

QString selectCampagnes()
{
    QStringList colonnes;
    for (const QString &c : COLONNES_CAMPAGNE)
        colonnes << QStringLiteral("CAMPAGNES.") + c;
    return QStringLiteral("SELECT CAMPAGNES.codeCampagne, ") + colonnes.join(QStringLiteral(", ")) +
           QStringLiteral(", INTERVENANTS.Nom AS nomLaboratoire FROM CAMPAGNES LEFT JOIN "
                          "INTERVENANTS ON CAMPAGNES.codePrestataire = "
                          "cstr(INTERVENANTS.CodeIntervenant) ");
}

// The keys the list sorts on: an empty date counts as the far past (start) or future (end).
QDate cleTri(const QString &texte, const QDate &siVide)
{
    const QDate d = dateCampagne(texte);
    return d.isValid() ? d : siVide;
}

bool ecrireFiche(FicheCampagne &f)
{
    QVector<QVariant> valeurs = valeursFiche(f);
    if (f.code.isEmpty()) {
        bd().verrouiller(QStringLiteral("CAMPAGNES"));
        const QVariant max = bd().valeur(QStringLiteral("SELECT Max(codeCampagne) FROM CAMPAGNES"));
        f.code = QString::number(max.isNull() ? 1 : max.toLongLong() + 1);
    }
    const double code = f.code.toDouble();
    const QVariant existe = bd().valeur(
        QStringLiteral("SELECT count(*) FROM CAMPAGNES WHERE codeCampagne=") + sqlNombre(code));
    if (existe.toLongLong() == 0) {
        InstructionPreparee ajout = bd().preparer(
            QStringLiteral("INSERT INTO CAMPAGNES (codeCampagne, ") +
            COLONNES_CAMPAGNE.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (?") +
            QStringLiteral(", ?").repeated(COLONNES_CAMPAGNE.size()) + QStringLiteral(")"));
        valeurs.prepend(code);
        return ajout.executer(valeurs);
    }
    InstructionPreparee maj = bd().preparer(QStringLiteral("UPDATE CAMPAGNES SET ") +
                                            COLONNES_CAMPAGNE.join(QStringLiteral("=?, ")) +
                                            QStringLiteral("=? WHERE codeCampagne=?"));
    valeurs.append(code);
    return maj.executer(valeurs);
}

bool ecrireStations(double code, const QVector<StationCampagne> &stations)
{
    if (!bd().Execute(QStringLiteral("DELETE FROM CAMPAGNES_SITES WHERE codeCampagne=") +
                      sqlNombre(code)))
        return false;
    InstructionPreparee ajout =
        bd().preparer(QStringLiteral("INSERT INTO CAMPAGNES_SITES (codeCampagne, codeSite, "
                                     "ordrePassage, datePassage) VALUES (?, ?, ?, ?)"));
    int ordre = 0;
    for (const StationCampagne &s : stations) {
        const QDate passage = dateCampagne(s.datePassage);
        const QVariant date =
            passage.isValid() ? QVariant(QDateTime(passage, QTime(0, 0))) : QVariant();
        if (!ajout.executer({code, s.codeSite.toDouble(), ++ordre, date})) return false;
    }
    return true;
}

bool ecrireParametres(double code, const QVector<ParametreCampagne> &parametres)
{
    if (!bd().Execute(QStringLiteral("DELETE FROM CAMPAGNES_PARAMETRES WHERE codeCampagne=") +
                      sqlNombre(code)))
        return false;
    InstructionPreparee ajout = bd().preparer(QStringLiteral(
        "INSERT INTO CAMPAGNES_PARAMETRES (codeCampagne, codeParametre, codeUnite, codeLieu, "
        "codeFraction, codeSupport, insitu) VALUES (?, ?, ?, ?, ?, ?, ?)"));
    for (const ParametreCampagne &p : parametres) {
        if (!ajout.executer({code, p.codeParametre.trimmed(), p.codeUnite.trimmed(),
                             p.codeLieu.trimmed(), p.codeFraction.trimmed(),
                             texteOuNull(p.codeSupport), texteOuNull(p.insitu)}))
            return false;
    }
    return true;
}

QVector<ParametreCampagne> parametresCampagne(const QString &code)
{
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT codeParametre, codeUnite, codeLieu, codeFraction, codeSupport, "
                       "insitu FROM CAMPAGNES_PARAMETRES WHERE codeCampagne=") +
        sqlNombre(code.toDouble()) + QStringLiteral(" ORDER BY codeParametre ASC"));
    QVector<ParametreCampagne> parametres;
    for (int i = 0; i < t.nbLignes(); ++i)
        parametres.append(
            {t.texte(i, QStringLiteral("codeParametre")), t.texte(i, QStringLiteral("codeUnite")),
             t.texte(i, QStringLiteral("codeLieu")), t.texte(i, QStringLiteral("codeFraction")),
             t.texte(i, QStringLiteral("codeSupport")), t.texte(i, QStringLiteral("insitu"))});
    return parametres;
}

// The laboratory's own reference of each station: its latest link.
QHash<QString, QString> referencesInternes(const QStringList &codes, const QString &laboratoire)
{
    QHash<QString, QString> references;
    const std::optional<double> labo = codeNumerique(laboratoire);
    if (!labo || codes.isEmpty()) return references;
    QStringList nombres;
    for (const QString &c : codes)
        nombres << sqlNombre(c.toDouble());
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT codeQualitometre, ReferenceInterne FROM LIEN_QUALITO_INTERVENANTS "
                       "WHERE codeIntervenant=") +
        sqlNombre(*labo) + QStringLiteral(" AND codeQualitometre IN (") + nombres.join(u',') +
        QStringLiteral(") ORDER BY codeQualitometre, dateDebut DESC"));
    for (int i = 0; i < t.nbLignes(); ++i) {
        const QString station = t.texte(i, QStringLiteral("codeQualitometre"));
        if (!references.contains(station))
            references.insert(station, t.texte(i, QStringLiteral("ReferenceInterne")));
    }
    return references;
}

} // namespace

QString libelleTypeCampagne(const QString &type)
{
    const QString t = type.trimmed();
    if (t == CAMPAGNE_PIEZOMETRIE) return QStringLiteral("Piézométrie");
    if (t == CAMPAGNE_HYDROBIO) return QStringLiteral("Hydrobio");
    if (t == CAMPAGNE_PHYSICOCHIMIQUE) return QStringLiteral("Physicochimique");
    return {};
}

QString LigneCampagne::bancarisation() const
{
    return fiche.bancarisationAutorisee ? QStringLiteral("oui") : QStringLiteral("non");
}

QString StationCampagne::identifiant() const
{
    const QString d = designation.trimmed();
    return d.isEmpty() ? codeBSS : codeBSS + u'/' + d;
}

bool ParametreCampagne::estComplet() const
{
    return !codeParametre.trimmed().isEmpty() && !codeUnite.trimmed().isEmpty() &&
           !codeLieu.trimmed().isEmpty() && !codeFraction.trimmed().isEmpty();
}

QDate dateCampagne(const QString &texte)
{
    // Read by hand: the follow-up reads thousands of dates, and a parse by format costs tens of
    // microseconds each.
    const QString t = texte.trimmed();
    if (t.size() != 10 && (t.size() < 11 || t[10] != u' ')) return {};
    if (t[2] != u'/' || t[5] != u'/') return {};
    const auto nombre = [&t](int debut, int longueur) {
        int n = 0;
        for (int i = debut; i < debut + longueur; ++i) {
            if (!t[i].isDigit()) return -1;
            n = n * 10 + t[i].digitValue();
        }
        return n;
    };
    const int jour = nombre(0, 2), mois = nombre(3, 2), annee = nombre(6, 4);
    if (jour < 0 || mois < 0 || annee < 0) return {};
    return QDate(annee, mois, jour);
}

QVector<LigneCampagne> listerCampagnes()
{
    const Tableau t =
        bd().extraire(selectCampagnes() + QStringLiteral("WHERE typeCampagne IN (2,3)"));
    QVector<LigneCampagne> lignes;
    lignes.reserve(t.nbLignes());
    for (int i = 0; i < t.nbLignes(); ++i)
        lignes.append({ficheDeLigne(t, i), t.texte(i, QStringLiteral("nomLaboratoire"))});
    // The dates are stored as DD/MM/YYYY texts: ordered by the SQL they would mix the years.
    const QDate passe(1800, 1, 1), futur(3000, 12, 31);
    std::stable_sort(lignes.begin(), lignes.end(), [&](const auto &a, const auto &b) {
        const QDate da = cleTri(a.fiche.dateDebut, passe), db = cleTri(b.fiche.dateDebut, passe);
        if (da != db) return da > db;
        return cleTri(a.fiche.dateFin, futur) > cleTri(b.fiche.dateFin, futur);
    });
    return lignes;
}

std::optional<Campagne> chargerCampagne(const QString &code)
{
    const std::optional<double> n = codeNumerique(code);
    if (!n) return std::nullopt;
    const Tableau t = bd().extraire(
        selectCampagnes() + QStringLiteral("WHERE CAMPAGNES.codeCampagne=") + sqlNombre(*n));
    if (t.estVide()) return std::nullopt;
    Campagne campagne;
    campagne.fiche = ficheDeLigne(t, 0);
    const Tableau sites = bd().extraire(
        QStringLiteral("SELECT codeSite, ordrePassage, datePassage FROM CAMPAGNES_SITES "
                       "WHERE codeCampagne=") +
        sqlNombre(*n) + QStringLiteral(" ORDER BY ordrePassage ASC"));
    QStringList codes;
    QStringList dates;
    for (int i = 0; i < sites.nbLignes(); ++i) {
        codes << sites.texte(i, QStringLiteral("codeSite"));
        dates << sites.texte(i, QStringLiteral("datePassage")).left(10);
    }
    campagne.stations = stationsCampagne(codes, campagne.fiche.codePrestataire);
    for (int i = 0; i < campagne.stations.size(); ++i)
        campagne.stations[i].datePassage = dates[i];
    campagne.parametres = parametresCampagne(campagne.fiche.code);
    return campagne;
}

QVector<StationCampagne> stationsCampagne(const QStringList &codesSites,
                                          const QString &codePrestataire)
{
    QVector<StationCampagne> stations;
    if (codesSites.isEmpty()) return stations;
    QStringList nombres;
    for (const QString &c : codesSites)
        nombres << sqlNombre(c.toDouble());
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT CodeQualitometre, CodeBSS, Nom, Designation, X, Y, TypeProjection "
                       "FROM QUALITOMETRES WHERE CodeQualitometre IN (") +
        nombres.join(u',') + u')');
    QHash<QString, int> parCode;
    for (int i = 0; i < t.nbLignes(); ++i)
        parCode.insert(t.texte(i, QStringLiteral("CodeQualitometre")), i);
    const QHash<QString, QString> references = referencesInternes(codesSites, codePrestataire);
    for (const QString &code : codesSites) {
        StationCampagne s;
        s.codeSite = QString::number(code.toDouble(), 'g', 15);
        const int i = parCode.value(s.codeSite, -1);
        if (i >= 0) {
            s.codeBSS = t.texte(i, QStringLiteral("CodeBSS"));
            s.nom = t.texte(i, QStringLiteral("Nom"));
            s.designation = t.texte(i, QStringLiteral("Designation"));
            s.x = t.texte(i, QStringLiteral("X"));
            s.y = t.texte(i, QStringLiteral("Y"));
            s.typeProjection = t.texte(i, QStringLiteral("TypeProjection"));
        }
        s.referenceInterne = references.value(s.codeSite);
        stations.append(s);
    }
    return stations;
}

QString verifierCampagne(const Campagne &campagne)
{
    const FicheCampagne &f = campagne.fiche;
    if (f.libelle.trimmed().isEmpty()) return texteCampagnes::NOM_ABSENT;
    const QDate debut = dateCampagne(f.dateDebut), fin = dateCampagne(f.dateFin);
    // A period that ends before it starts has no month to follow.
    if (!debut.isValid() || !fin.isValid() || fin < debut) return texteCampagnes::DATES;
    if (f.typeDemande.trimmed() == DEMANDE_MIXTE &&
        f.codePreleveur.trimmed() != f.codePrestataire.trimmed())
        return texteCampagnes::MIXTE;
    for (const ParametreCampagne &p : campagne.parametres)
        if (!p.estComplet()) return texteCampagnes::PARAMETRES;
    for (const StationCampagne &s : campagne.stations)
        if (!s.datePassage.trimmed().isEmpty() && !dateCampagne(s.datePassage).isValid())
            return texteCampagnes::DATE_PASSAGE.arg(s.identifiant().isEmpty() ? s.codeSite
                                                                              : s.identifiant());
    return {};
}

CompteRendu enregistrerCampagne(Campagne &campagne, const QString &)
{
    if (const QString refus = verifierCampagne(campagne); !refus.isEmpty()) return echec(refus);
    const QString codeAvant = campagne.fiche.code;
    Transaction transaction;
    bool ok = transaction.estOuverte() && ecrireFiche(campagne.fiche);
    const double code = campagne.fiche.code.toDouble();
    ok = ok && ecrireStations(code, campagne.stations) &&
         ecrireParametres(code, campagne.parametres);
    CompteRendu compteRendu = conclureTransaction(
        transaction, ok, [](const QString &e) { return texteCampagnes::ECHEC.arg(e); },
        texteCampagnes::ENREGISTREE);
    if (!compteRendu) campagne.fiche.code = codeAvant;
    return compteRendu;
}

CompteRendu supprimerCampagne(const QString &code, const QString &libelle,
                              const Confirmation &confirmer)
{
    const std::optional<double> n = codeNumerique(code);
    if (!n) return echec({});
    if (!confirmer(texteCampagnes::SUPPRIMER + libelle + QStringLiteral(" ?"))) return echec({});
    const QString condition = QStringLiteral(" WHERE codeCampagne=") + sqlNombre(*n);
    Transaction transaction;
    const bool ok =
        transaction.estOuverte() &&
        bd().Execute(QStringLiteral("DELETE FROM CAMPAGNES_PARAMETRES") + condition) &&
        bd().Execute(QStringLiteral("DELETE FROM CAMPAGNES_SITES") + condition) &&
        bd().Execute(QStringLiteral("UPDATE QUALITOMETRES_DEMANDES SET codeCampagne=NULL") +
                     condition) &&
        bd().Execute(QStringLiteral("DELETE FROM CAMPAGNES") + condition);
    return conclureTransaction(
        transaction, ok, [](const QString &e) { return texteCampagnes::ECHEC_SUPPRESSION.arg(e); },
        texteCampagnes::SUPPRIMEE);
}

bool demandeExistePourCampagne(const QString &code)
{
    const std::optional<double> n = codeNumerique(code);
    if (!n) return false;
    return bd().valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES_DEMANDES WHERE "
                                      "codeCampagne=") +
                       sqlNombre(*n))
               .toLongLong() > 0;
}

} // namespace vyk
