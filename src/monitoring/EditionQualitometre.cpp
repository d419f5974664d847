#include "monitoring/EditionQualitometre.h"

#include "db/BaseDonnees.h"
#include "db/Journal.h"
#include "db/Lot.h"
#include "db/Messages.h"
#include "db/Outils.h"
#include "db/Progression.h"
#include "db/Session.h"
#include "db/Sql.h"
#include "monitoring/Qualitometre.h"
#include "monitoring/SuppressionQualitometre.h"
#include "schema/Catalogue.h"
#include "schema/TableAnalyses.h"
#include "users/AccesStations.h"

namespace vyk {

namespace {

// The caption of a field, for the messages: as the form shows it.
QString libelleChamp(const QString &colonne)
{
    const ChampDecrit *champ = champDecritFiche(colonne);
    return champ ? champ->libelle : colonne;
}

// Columns written from the card's fields (the key, the import job and the stamp aside).
bool estSaisie(const QString &colonne)
{
    static const QStringList exclues = {
        QStringLiteral("CodeQualitometre"), QStringLiteral("CodeBSS"),
        QStringLiteral("Designation"),      QStringLiteral("jobExecutionId"),
        QStringLiteral("loginmaj"),         QStringLiteral("dateMaj")};
    return !exclues.contains(colonne, Qt::CaseInsensitive);
}

QString premiereValeur(const QString &sql)
{
    return texteValeur(bd().valeur(sql));
}

} // namespace

const QStringList &colonnesFiche()
{
    static const QStringList colonnes =
        QStringLiteral("CodeQualitometre,CodeBSS,Nom,CodeNature,DateCreation,DateFermeture,X,Y,"
                       "TypeProjection,Altitude,Commentaires,"
                       "codeCommune,CodeContact,Designation,Localisation,Prof_Debut,Prof_Fin,Prof_"
                       "Recommandee,Finalite,"
                       "Type_qualitometre,TypePointEau,typeStation,BassinVersant_Superficie,her_"
                       "niveau1,code_hydro,rang_strahler,"
                       "type_fr,canal,niveauTypologiqueTheo,pk,codeBassinVersant,"
                       "codeBassinVersant2,adresse,codeBassinVersant3,"
                       "codeBassinVersant4,pente,modeGisement,codeEtat,codeQualite,"
                       "codeRepresentativite,confidentiel,"
                       "valeur_strahler,codePays,codeQualitoInter,her_niveau2,riviere,"
                       "jobExecutionId,loginmaj,dateMaj,"
                       "codePiscicole,classeCalcium,nbTournees")
            .split(u',');
    return colonnes;
}

QString EditionQualitometre::valeur(const QString &champ) const
{
    return m_champs.value(champ.toLower());
}

void EditionQualitometre::definir(const QString &champ, const QString &texte)
{
    m_champs.insert(champ.toLower(), texte);
}

QString EditionQualitometre::typeStation() const
{
    const QString t = valeur(QStringLiteral("typeStation")).trimmed();
    return t.isEmpty() ? TYPE_STATION_DEFAUT : t;
}

QString EditionQualitometre::codeSaisi() const
{
    return typeStation() == TYPE_STATION_EAU_SOUTERRAINE
               ? valeur(champFiche::NumeroBSS).trimmed()
               : valeur(champFiche::Identifiant).trimmed();
}

QString EditionQualitometre::derniereModification() const
{
    const QString date = valeur(QStringLiteral("dateMaj"));
    if (date.isEmpty()) return {};
    return date + QStringLiteral(" par ") + valeur(QStringLiteral("loginmaj"));
}

void EditionQualitometre::nouveau()
{
    m_code.clear();
    m_codeStocke.clear();
    m_nomStocke.clear();
    m_champs.clear();
    m_altitude.clear();
    m_codePiezometre.clear();
    m_resume = {};
    m_entete = {};
}

CompteRendu EditionQualitometre::charger(qint64 code)
{
    if (!lireStation(code)) return echec(texteFiche::CHARGEMENT_IMPOSSIBLE);
    lireLiens();
    lireAltitude();
    lireResume();
    lireEntete();
    return reussite();
}

bool EditionQualitometre::lireStation(qint64 code)
{
    const QString sql = QStringLiteral("SELECT ") + colonnesFiche().join(QStringLiteral(", ")) +
                        QStringLiteral(" FROM Qualitometres WHERE CodeQualitometre=") +
                        QString::number(code);
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(sql, nb, t) || t.estVide()) return false;
    nouveau();
    const QStringList &colonnes = colonnesFiche();
    for (int c = 0; c < colonnes.size(); ++c) {
        const QVariant &v = t(0, c);
        QString texte = texteValeur(v);
        // Dates of the card are days; the stamp keeps its time.
        if (v.typeId() == QMetaType::QDateTime && colonnes[c] != QLatin1String("dateMaj"))
            texte = texteDate(v.toDateTime());
        definir(colonnes[c], texte);
    }
    m_code = QString::number(code);
    m_codeStocke = valeur(QStringLiteral("CodeBSS"));
    m_nomStocke = valeur(QStringLiteral("Nom"));
    definir(typeStation() == TYPE_STATION_EAU_SOUTERRAINE ? champFiche::NumeroBSS
                                                          : champFiche::Identifiant,
            m_codeStocke);
    if (typeStation() != TYPE_STATION_EAU_SOUTERRAINE) definir(QStringLiteral("Designation"), {});
    return true;
}

void EditionQualitometre::lireLiens()
{
    const QString condition = QStringLiteral(" WHERE CodeQualitometre=") + m_code;
    definir(champFiche::EntiteHydro,
            premiereValeur(QStringLiteral("SELECT CodeEntiteHydro FROM Lien_Qualito_Entite_Hydro") +
                           condition));
    definir(champFiche::Aquifere,
            premiereValeur(QStringLiteral("SELECT CodeAquifere FROM Lien_Qualito_Aquifere") +
                           condition));
    definir(
        champFiche::MasseEau,
        premiereValeur(QStringLiteral("SELECT Code_ME FROM Lien_Qualito_Masse_Eau") + condition));
    const Tableau geo = bd().extraire(
        QStringLiteral(
            "SELECT carteIGN, carteGeologique, parcelle, section FROM Qualitometres_Info_Geo") +
        condition);
    const QStringList champs = {champFiche::CarteIGN, champFiche::CarteGeologique,
                                champFiche::Parcelle, champFiche::Section};
    for (int c = 0; c < champs.size(); ++c)
        definir(champs[c], geo.estVide() ? QString() : geo.texte(0, c));

    m_codePiezometre.clear();
    const QString bss = valeur(champFiche::NumeroBSS).trimmed();
    if (typeStation() == TYPE_STATION_EAU_SOUTERRAINE && !bss.isEmpty())
        m_codePiezometre =
            premiereValeur(QStringLiteral("SELECT codePiezometre FROM PIEZOMETRES WHERE codeBSS=") +
                           sqlTexte(bss));
}

void EditionQualitometre::lireAltitude()
{
    const QString condition = QStringLiteral(" WHERE CodeQualitometre=") + m_code;
    const Tableau systemes =
        bd().extraire(QStringLiteral("SELECT Altitude FROM systemes_altimetriques_qualito") +
                      condition + QStringLiteral(" ORDER BY DateDebut DESC"));
    if (!systemes.estVide()) {
        m_altitude = systemes.texte(0, QStringLiteral("Altitude"));
        return;
    }
    m_altitude = premiereValeur(QStringLiteral("SELECT Z FROM Qualitometre_localisations") +
                                condition + QStringLiteral(" AND Z is not null"));
}

void EditionQualitometre::lireEntete()
{
    m_entete = {};
    const QString condition = QStringLiteral(" WHERE CodeQualitometre=") + m_code;
    m_entete.reseau =
        premiereValeur(QStringLiteral("SELECT Libelle FROM QUALITO_RESEAU_PRINCIPAL") + condition);
    const Tableau dce =
        bd().extraire(QStringLiteral("SELECT dateDebut, dateFin FROM QUALITO_DCE") + condition);
    m_entete.dce = !dce.estVide();
    if (m_entete.dce) {
        m_entete.dceDebut = texteDate(dce.valeur(0, QStringLiteral("dateDebut")).toDateTime());
        m_entete.dceFin = texteDate(dce.valeur(0, QStringLiteral("dateFin")).toDateTime());
    }
}

QString EditionQualitometre::verifier() const
{
    QString erreurs;
    m_champsRefuses.clear();
    auto ajouter = [this, &erreurs](const QString &e, const QString &champ) {
        erreurs += u'\n' + e;
        m_champsRefuses << champ;
    };
    const bool souterraine = typeStation() == TYPE_STATION_EAU_SOUTERRAINE;
    const QString champCode = souterraine ? champFiche::NumeroBSS : champFiche::Identifiant;
    const QString code = codeSaisi();
    if (souterraine) {
        if (code.isEmpty() || code.contains(u' ')) ajouter(texteFiche::BSS_INCORRECT, champCode);
    } else if (code.isEmpty()) {
        ajouter(texteFiche::IDENTIFIANT_VIDE, champCode);
    }
    // The code names the station's analysis table.
    if (!code.isEmpty() && !(souterraine && code.contains(u' '))) {
        const QString raison = verifierCodeTable(code);
        if (!raison.isEmpty()) ajouter(raison, champCode);
    }
    const QString creation = valeur(QStringLiteral("DateCreation")).trimmed();
    if (!creation.isEmpty() && !lireDate(creation).isValid())
        ajouter(texteFiche::DATE_CREATION, QStringLiteral("DateCreation"));
    const QString fermeture = valeur(QStringLiteral("DateFermeture")).trimmed();
    if (!fermeture.isEmpty() && !lireDate(fermeture).isValid())
        ajouter(texteFiche::DATE_FERMETURE, QStringLiteral("DateFermeture"));

    // Numbers and lengths that the columns can hold: a server refuses the rest.
    const DefinitionTable *table = definitionTable(u"QUALITOMETRES");
    for (const QString &colonne : colonnesFiche()) {
        if (!estSaisie(colonne)) continue;
        const DefinitionColonne *def = table->colonne(colonne);
        const QString texte = valeur(colonne).trimmed();
        if (!def || texte.isEmpty()) continue;
        if (estNumerique(def->type) && !estNombre(texte))
            ajouter(texteFiche::PAS_UN_NOMBRE.arg(libelleChamp(colonne)), colonne);
        else if (def->type == TypeNeutre::Texte && def->taille > 0 && texte.size() > def->taille)
            ajouter(texteFiche::TROP_LONG.arg(libelleChamp(colonne)).arg(def->taille), colonne);
    }
    const int tailleCode = table->colonne(u"CodeBSS")->taille;
    if (code.size() > tailleCode)
        ajouter(texteFiche::TROP_LONG.arg(libelleChamp(champCode)).arg(tailleCode), champCode);
    const int tailleDesignation = table->colonne(u"Designation")->taille;
    if (souterraine && valeur(QStringLiteral("Designation")).trimmed().size() > tailleDesignation)
        ajouter(texteFiche::TROP_LONG.arg(libelleChamp(QStringLiteral("Designation")))
                    .arg(tailleDesignation),
                QStringLiteral("Designation"));
    const DefinitionTable *geo = definitionTable(u"QUALITOMETRES_INFO_GEO");
    for (const QString &champ : {champFiche::CarteIGN, champFiche::CarteGeologique,
                                 champFiche::Parcelle, champFiche::Section}) {
        const int taille = geo->colonne(champ)->taille;
        if (valeur(champ).trimmed().size() > taille)
            ajouter(texteFiche::TROP_LONG.arg(libelleChamp(champ)).arg(taille), champ);
    }
    return erreurs.isEmpty() ? QString() : texteFiche::CORRIGER + erreurs;
}

QString EditionQualitometre::verifierUnicite(const QString &code) const
{
    // Codes that differ only by case would name one analysis table: they count as the same.
    InstructionPreparee lecture = bd().preparer(QStringLiteral(
        "SELECT codeQualitometre, Nom FROM Qualitometres WHERE ucase(CodeBSS)=ucase(?) AND "
        "CodeQualitometre<>? ORDER BY codeQualitometre"));
    Tableau t;
    if (!lecture.extraire(t, {codeSaisi(), QVariant(code.toDouble())}) || t.estVide()) return {};
    const QString autre = t.texte(0, QStringLiteral("codeQualitometre"));
    const QString nom = t.texte(0, QStringLiteral("Nom"));
    if (typeStation() != TYPE_STATION_EAU_SOUTERRAINE)
        return texteFiche::IDENTIFIANT_UTILISE.arg(autre, nom);
    if (estAccesRestreint() &&
        !stationAccordee(t.valeur(0, QStringLiteral("codeQualitometre")).toLongLong()))
        return texteFiche::BSS_UTILISE_SANS_DROITS.arg(autre, nom);
    return texteFiche::BSS_UTILISE.arg(autre, nom);
}

CompteRendu EditionQualitometre::enregistrer()
{
    const QString erreurs = verifier();
    if (!erreurs.isEmpty()) return echec(erreurs);
    journaliser(texteFiche::JOURNAL_MODIFICATION + codeSaisi());
    // The largest code and the identifier's uniqueness are read under the table's lock: two
    // workstations saving a new station at once get two codes.
    Transaction transaction;
    if (!transaction.estOuverte() || !bd().verrouiller(QStringLiteral("QUALITOMETRES")))
        return echec(texteFiche::ECHEC_ENREGISTREMENT.arg(bd().derniereErreur()));
    const QString code = m_code.isEmpty() ? QString::number(nouveauCodeQualitometre()) : m_code;
    const QString doublon = verifierUnicite(code);
    if (!doublon.isEmpty()) return echec(doublon);
    // The station's analyses are in the table named after its code: a new code renames it,
    // in the transaction of the station's row.
    const bool renommage =
        !m_code.isEmpty() && renommageTableAnalysesNecessaire(m_codeStocke, codeSaisi());
    if (renommage && bd().tableExiste(PREFIXE_ANALYSES + codeSaisi()))
        return echec(texteFiche::TABLE_ANALYSES_EXISTANTE.arg(codeSaisi(), m_codeStocke.trimmed()));
    QString erreur;
    const bool ecrite = (!renommage || renommerTableAnalyses(m_codeStocke, codeSaisi(), &erreur)) &&
                        ecrireStation(code, erreur);
    if (!ecrite || !transaction.valider()) {
        if (erreur.isEmpty()) erreur = bd().derniereErreur();
        transaction.annuler();
        return echec(texteFiche::ECHEC_ENREGISTREMENT.arg(erreur));
    }
    m_code = code;
    const QString creation = valeur(QStringLiteral("DateCreation")).trimmed();
    if (!creation.isEmpty())
        journaliser(texteFiche::JOURNAL_DATE_CREATION,
                    texteFiche::DETAIL_DATE_CREATION.arg(code, creation));
    ecrireLiens(code);
    if (estAccesRestreint()) accorderStation(code.toLongLong());
    charger(code.toLongLong());
    return reussite(texteFiche::ENREGISTREMENT_TERMINE);
}

bool EditionQualitometre::ecrireStation(const QString &code, QString &erreur)
{
    JeuEnregistrements jeu;
    bool trouve = false;
    const QString sql = QStringLiteral("SELECT ") + colonnesFiche().join(QStringLiteral(", ")) +
                        QStringLiteral(" FROM Qualitometres WHERE CodeQualitometre=") + code;
    if (!bd().AccesBase(sql, jeu, trouve, QStringLiteral("Qualitometres"))) {
        erreur = bd().derniereErreur();
        return false;
    }
    if (!trouve) {
        jeu.addnew();
        jeu.fields(QStringLiteral("CodeQualitometre")) = QVariant(code.toDouble());
    }
    for (const QString &colonne : colonnesFiche())
        if (estSaisie(colonne)) {
            const QString texte = valeur(colonne).trimmed();
            jeu.fields(colonne) = texte.isEmpty() ? QVariant() : QVariant(texte);
        }
    const bool souterraine = typeStation() == TYPE_STATION_EAU_SOUTERRAINE;
    jeu.fields(QStringLiteral("typeStation")) = typeStation();
    jeu.fields(QStringLiteral("CodeBSS")) = codeSaisi();
    const QString designation = valeur(QStringLiteral("Designation")).trimmed();
    jeu.fields(QStringLiteral("Designation")) =
        souterraine && !designation.isEmpty() ? QVariant(designation) : QVariant();
    jeu.fields(QStringLiteral("loginmaj")) =
        session().login.isEmpty() ? QVariant() : QVariant(session().login);
    const QDateTime maintenant = QDateTime::currentDateTime();
    jeu.fields(QStringLiteral("dateMaj")) =
        QDateTime(maintenant.date(), QTime(maintenant.time().hour(), maintenant.time().minute(),
                                           maintenant.time().second()));
    const bool ok = jeu.Update();
    if (!ok) erreur = jeu.derniereErreur();
    jeu.Close();
    return ok;
}

void EditionQualitometre::ecrireLiens(const QString &code)
{
    const QString condition = QStringLiteral(" WHERE CodeQualitometre=") + code;
    // One row per station for the entity and the aquifer.
    const struct
    {
        QString table, colonne, champ;
    } liens[] = {{QStringLiteral("Lien_Qualito_Entite_Hydro"), QStringLiteral("CodeEntiteHydro"),
                  champFiche::EntiteHydro},
                 {QStringLiteral("Lien_Qualito_Aquifere"), QStringLiteral("CodeAquifere"),
                  champFiche::Aquifere}};
    for (const auto &lien : liens) {
        const QString choisi = valeur(lien.champ).trimmed();
        if (choisi.isEmpty() || !estNombre(choisi)) {
            bd().Execute(QStringLiteral("DELETE FROM ") + lien.table + condition);
            continue;
        }
        JeuEnregistrements jeu;
        bool trouve = false;
        if (!bd().AccesBase(QStringLiteral("SELECT CodeQualitometre, ") + lien.colonne +
                                QStringLiteral(" FROM ") + lien.table + condition,
                            jeu, trouve, lien.table))
            continue;
        if (!trouve) {
            jeu.addnew();
            jeu.fields(QStringLiteral("CodeQualitometre")) = QVariant(code.toDouble());
        }
        jeu.fields(lien.colonne) = choisi;
        jeu.Update();
        jeu.Close();
    }
    bd().Execute(QStringLiteral("DELETE FROM Lien_Qualito_Masse_Eau") + condition);
    const QString masseEau = valeur(champFiche::MasseEau).trimmed();
    if (!masseEau.isEmpty()) {
        InstructionPreparee ajout =
            bd().preparer(QStringLiteral("INSERT INTO Lien_Qualito_Masse_Eau (CodeQualitometre, "
                                         "Code_ME, Type) VALUES (?, ?, ?)"));
        ajout.executer({QVariant(code.toDouble()), masseEau, QVariant(typeStation().toDouble())});
    }

    JeuEnregistrements geo;
    bool trouve = false;
    if (bd().AccesBase(QStringLiteral("SELECT codeQualitometre, carteIGN, carteGeologique, "
                                      "parcelle, section FROM Qualitometres_Info_Geo") +
                           condition,
                       geo, trouve, QStringLiteral("Qualitometres_Info_Geo"))) {
        if (!trouve) {
            geo.addnew();
            geo.fields(QStringLiteral("codeQualitometre")) = QVariant(code.toDouble());
        }
        for (const QString &champ : {champFiche::CarteIGN, champFiche::CarteGeologique,
                                     champFiche::Parcelle, champFiche::Section}) {
            const QString texte = valeur(champ).trimmed();
            geo.fields(champ) = texte.isEmpty() ? QVariant() : QVariant(texte);
        }
        geo.Update();
        geo.Close();
    }
}

CompteRendu EditionQualitometre::supprimer(Progression &progression)
{
    if (m_code.isEmpty()) return {};
    const QString nom = m_nomStocke;
    if (codeSaisi() != m_codeStocke) {
        if (!confirmer(texteFiche::CODE_CHANGE.arg(nom, m_codeStocke)) ||
            !confirmer(texteFiche::CONFIRMER_SUPPRESSION_CODE_CHANGE.arg(nom)))
            return {};
    } else if (!confirmer(texteFiche::CONFIRMER_SUPPRESSION.arg(nom))) {
        return {};
    }
    progression.message(texteFiche::TITRE_SUPPRESSION);
    journaliser(texteFiche::JOURNAL_SUPPRESSION + m_codeStocke);
    const ResultatSuppression r =
        supprimerQualitometre(m_code, m_codeStocke.trimmed(), &progression, true, true);
    if (!r.effectuee) return echec(r.echec);
    nouveau();
    return reussite(texteFiche::SUPPRESSION_TERMINEE);
}

QString EditionQualitometre::codeVoisin(const QStringList &codesVisibles,
                                        const QString &codeCourant, int sens)
{
    if (codesVisibles.isEmpty()) return {};
    const qsizetype n = codesVisibles.size();
    const qsizetype i = codesVisibles.indexOf(codeCourant);
    if (i < 0) return sens >= 0 ? codesVisibles.first() : codesVisibles.last();
    return codesVisibles[((i + (sens >= 0 ? 1 : -1)) % n + n) % n];
}

} // namespace vyk
