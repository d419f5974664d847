#include "schema/MiseAJour.h"

#include "db/Journal.h"
#include "db/Lot.h"
#include "db/RaisonsMoteur.h"
#include "db/Sql.h"
#include "schema/DonneesInitiales.h"
#include "schema/EtapesMiseAJour.h"

#include <QDateTime>
#include <QRegularExpression>

namespace vyk {

namespace {

const QString REQUETE_VERSION =
    QStringLiteral("SELECT mac from PARAMETRES WHERE module='VYLEN' and identifiant='version'");

constexpr int NB_ETAPES = 12;
// Statements between two commits of one step.
constexpr int INSTRUCTIONS_PAR_VALIDATION = 300;

// The desktop type nearest to an engine's type (as the schema state reads it), for a column the
// catalogue does not describe.
QString motTypeDuMoteur(const QString &typeMoteur)
{
    const QString t = typeMoteur.trimmed().toLower();
    const auto a = [&t](const char *mot) { return t.contains(QLatin1String(mot)); };
    if (a("char") || t.startsWith(QLatin1String("text")) || a("clob") || t == u"memo") {
        static const QRegularExpression taille(QStringLiteral("\\(\\s*(\\d+)"));
        const QRegularExpressionMatch m = taille.match(t);
        const int n = m.hasMatch() ? m.captured(1).toInt() : 0;
        return n > 0 && n <= 255 ? motTypeBureau(TypeNeutre::Texte, n)
                                 : motTypeBureau(TypeNeutre::Memo);
    }
    if (a("bool") || t == u"yesno" || t == u"bit") return motTypeBureau(TypeNeutre::OuiNon);
    if (a("date") || a("time")) return motTypeBureau(TypeNeutre::DateHeure);
    if (a("smallint") || t == u"short" || t == u"int2") return motTypeBureau(TypeNeutre::Court);
    if ((a("int") && !a("bigint") && t != u"int8") || t == u"long")
        return motTypeBureau(TypeNeutre::Long);
    if (a("int") || a("double") || a("real") || a("float") || a("numeric") || a("decimal") ||
        a("number") || t == u"single" || t == u"currency")
        return motTypeBureau(TypeNeutre::Reel);
    return motTypeBureau(TypeNeutre::Memo);
}

// Columns of a table that the catalogue does not know (a site's own), with their engine types.
QVector<QPair<QString, QString>> colonnesDuSite(const EtatSchema &etat,
                                                const DefinitionTable &table, const QString &source)
{
    QVector<QPair<QString, QString>> r;
    for (const QString &c : etat.colonnes(source))
        if (!table.colonne(c)) r.append({c, etat.typeColonne(source, c)});
    return r;
}

} // namespace

QString versionBase()
{
    if (!bd().estOuverte()) return {};
    BaseDonnees::Discretion discretion(bd());
    const Tableau t = bd().extraire(REQUETE_VERSION);
    return t.estVide() ? QString() : t.texte(0, QStringLiteral("mac")).trimmed();
}

bool verifierVersionBase(const QString &version)
{
    return verifierVersionBase(version, progressionNulle());
}

bool verifierVersionBase(const QString &version, Progression &progression, int moisDebutHydro)
{
    if (!bd().estOuverte()) return false;
    {
        // A database without PARAMETRES fails here: it is simply not current.
        BaseDonnees::Discretion discretion(bd());
        const Tableau t = bd().extraire(REQUETE_VERSION);
        if (!t.estVide() && t.texte(0, QStringLiteral("mac")).trimmed() == version.trimmed())
            return true;
    }
    return mettreAJourBase(version, progression, moisDebutHydro);
}

namespace {
QString &raisonEchec()
{
    static QString raison;
    return raison;
}

// A marker is found by its module and identifier, or by either alone.
void noterMarqueur(QSet<QString> &marqueurs, const QString &module, const QString &identifiant)
{
    marqueurs.insert(module.toLower() + u'|' + identifiant.toLower());
    marqueurs.insert(module.toLower() + u'|');
    marqueurs.insert(u'|' + identifiant.toLower());
}
} // namespace

QString raisonEchecMiseAJour()
{
    return raisonEchec();
}

bool mettreAJourBase(const QString &version, Progression &progression, int moisDebutHydro)
{
    raisonEchec().clear();
    if (!bd().estOuverte()) return false;
    MiseAJour miseAJour(bd(), progression, version.trimmed(), moisDebutHydro);
    const bool ok = miseAJour.executer();
    raisonEchec() = miseAJour.raison();
    return ok;
}

// ---- run

MiseAJour::MiseAJour(BaseDonnees &base, Progression &progression, QString version,
                     int moisDebutHydro)
    : m_bd(base), m_progression(progression), m_version(std::move(version)),
      m_moisDebutHydro(moisDebutHydro)
{
}

bool MiseAJour::executer()
{
    // Each step is a batch of its own, committed at its end and every few hundred statements of
    // its per-station loops: on a server, locks are not held over the whole run. On a server each
    // statement stands alone inside the batch, so a failure skips only that statement. What a
    // cancelled or interrupted run did is kept: the next run completes it, the version row coming
    // last, and only when no migration carrying data and no rebuild was left undone.
    m_etat.charger(m_bd);
    const std::initializer_list<void (MiseAJour::*)()> etapes = {
        &MiseAJour::etapePreparation, &MiseAJour::etapeSchemaCommun,    &MiseAJour::etapeIndex,
        &MiseAJour::etapeQualite,     &MiseAJour::etapeTablesStations,  &MiseAJour::etapeVues,
        &MiseAJour::etapeUnites,      &MiseAJour::etapeReferentiels,    &MiseAJour::etapeJobs,
        &MiseAJour::etapeRecherche,   &MiseAJour::etapeDonneesInitiales};
    for (const auto etape : etapes) {
        if (annule()) break;
        m_progression.position(m_etape++, NB_ETAPES);
        Lot lot(m_bd, INSTRUCTIONS_PAR_VALIDATION);
        (this->*etape)();
        // A step whose commit failed is not written, nor are the steps after it: the version row
        // waits for the next run.
        if (!lot.terminer()) {
            noterInacheve(QStringLiteral("étape %1 non enregistrée, %2")
                              .arg(m_etape)
                              .arg(raisonMoteur(m_bd.derniereErreur())));
            break;
        }
    }
    if (annule())
        m_raison = QStringLiteral("La mise à jour a été interrompue avant son terme.");
    else if (!m_inacheves.isEmpty())
        m_raison =
            QStringLiteral(
                "La mise à jour n'a pas abouti, elle sera reprise à la prochaine connexion : ") +
            m_inacheves.join(QStringLiteral(" ; ")) + u'.';
    else if (!ecrireVersion())
        m_raison = QStringLiteral("La version de la base n'a pas pu être enregistrée : ") +
                   m_bd.derniereErreur();
    m_progression.position(NB_ETAPES, NB_ETAPES);
    if (!m_raison.isEmpty())
        journaliserErreur(QStringLiteral("Mise à jour de la version ") + m_version, m_raison);
    return m_raison.isEmpty();
}

void MiseAJour::noterInacheve(const QString &quoi)
{
    m_inacheves << quoi;
}

bool MiseAJour::annule()
{
    if (!m_annule && m_progression.annule()) m_annule = true;
    return m_annule;
}

void MiseAJour::message(const QString &texte)
{
    m_progression.message(texte);
}

bool MiseAJour::sql(const QString &instruction)
{
    if (instruction.isEmpty()) return false;
    if (m_bd.Execute(instruction)) return true;
    noterEchec(instruction);
    return false;
}

void MiseAJour::noterEchec(const QString &instruction)
{
    ++m_echecs;
    journaliserDebug(QStringLiteral("Mise à jour du schéma : instruction refusée"),
                     instruction + QStringLiteral("\n") + m_bd.derniereErreur());
}

Tableau MiseAJour::lire(const QString &requete)
{
    BaseDonnees::Discretion discretion(m_bd);
    return m_bd.extraire(requete);
}

// ---- generic completion from the catalogue

bool MiseAJour::ajouterColonne(const QString &table, const DefinitionColonne &colonne)
{
    if (!sql(sqlAjoutColonne(table, colonne))) return false;
    m_etat.noterColonne(table, QLatin1String(colonne.nom));
    return true;
}

void MiseAJour::completerTable(const DefinitionTable &table)
{
    const QString nom = QLatin1String(table.nom);
    recupererCopie(table);
    if (!m_etat.tableExiste(nom)) {
        if (sql(sqlCreationTable(table))) m_etat.noterTable(nom, table.nomsColonnes());
        return;
    }
    // An auto-numbered key cannot be added to a table that exists.
    for (const DefinitionColonne &c : table.colonnes)
        if (c.type == TypeNeutre::Auto && !m_etat.colonneExiste(nom, QLatin1String(c.nom))) {
            reconstruireTable(table);
            return;
        }
    const bool serveur = m_bd.typeBase() == POSTGRESQL;
    for (const DefinitionColonne &c : table.colonnes) {
        const QString colonne = QLatin1String(c.nom);
        if (c.obsolete || colonneMigree(nom, colonne)) continue;
        if (!m_etat.colonneExiste(nom, colonne)) {
            ajouterColonne(nom, c);
        } else if (serveur && c.type == TypeNeutre::Reel &&
                   m_etat.typeColonne(nom, colonne) == u"real") {
            // Older server databases stored floating numbers as real, which keeps seven digits:
            // coordinates and results lost their decimals.
            if (sql(QStringLiteral("ALTER TABLE ") + nom + QStringLiteral(" ALTER ") + colonne +
                    QStringLiteral(" Double")))
                m_etat.noterColonne(nom, colonne, QStringLiteral("double precision"));
        }
    }
}

void MiseAJour::completerTables(EtapeSchema etape)
{
    for (const DefinitionTable &t : catalogueTables()) {
        if (t.etape != etape) continue;
        if (annule()) return;
        completerTable(t);
    }
}

bool MiseAJour::reconstruireTable(const DefinitionTable &table)
{
    const QString nom = QLatin1String(table.nom);
    const QString copie = nom + QStringLiteral("_SAV");
    QStringList communes;
    for (const QString &c : m_etat.colonnes(nom))
        if (const DefinitionColonne *d = table.colonne(c); d && !d->obsolete)
            communes << QLatin1String(d->nom);
    const QVector<QPair<QString, QString>> duSite = colonnesDuSite(m_etat, table, nom);
    Transaction transaction(m_bd);
    bool ok =
        transaction.estOuverte() &&
        sql(QStringLiteral("CREATE TABLE ") + copie + QStringLiteral(" AS SELECT * FROM ") + nom) &&
        sql(QStringLiteral("DROP TABLE ") + nom) && sql(sqlCreationTable(table));
    // A site's own columns come along with their values, under names quoted as they need.
    for (const auto &[colonne, type] : duSite) {
        const QString nomSql = identifiantSql(colonne);
        ok = ok && !nomSql.isEmpty() &&
             sql(QStringLiteral("ALTER TABLE ") + nom + QStringLiteral(" ADD COLUMN ") + nomSql +
                 u' ' + motTypeDuMoteur(type));
        communes << nomSql;
    }
    const QString liste = communes.join(QStringLiteral(", "));
    if (ok && !communes.isEmpty())
        ok = sql(QStringLiteral("INSERT INTO ") + nom + QStringLiteral(" (") + liste +
                 QStringLiteral(") SELECT ") + liste + QStringLiteral(" FROM ") + copie);
    ok = ok && sql(QStringLiteral("DROP TABLE ") + copie) && transaction.valider();
    if (!ok) {
        transaction.annuler();
        journaliserErreur(QStringLiteral("Mise à jour du schéma : la table ") + nom +
                              QStringLiteral(" n'a pas pu être reconstruite"),
                          m_bd.derniereErreur());
        noterInacheve(QStringLiteral("la table ") + nom +
                      QStringLiteral(" n'a pas pu être reconstruite"));
        return false;
    }
    m_etat.oublierTable(nom);
    QStringList colonnes = table.nomsColonnes();
    for (const auto &c : duSite)
        colonnes << c.first;
    m_etat.noterTable(nom, colonnes);
    return true;
}

void MiseAJour::recupererCopie(const DefinitionTable &table)
{
    const QString nom = QLatin1String(table.nom);
    const QString copie = nom + QStringLiteral("_SAV");
    // Only the tables a rebuild copies can have such a copy left: for any other table a "_SAV"
    // is a site's own backup, which is not merged into the table nor dropped.
    const bool reconstruite = table.aColonneAuto() || nom == u"JOURNAL";
    if (!reconstruite || !m_etat.tableExiste(copie)) return;
    const bool existait = m_etat.tableExiste(nom);
    if (!existait && sql(sqlCreationTable(table))) m_etat.noterTable(nom, table.nomsColonnes());
    Transaction transaction(m_bd);
    // A site's own columns of the copy come back too; the copy stays when one cannot.
    QStringList ajoutees;
    const QString inacheve = QStringLiteral("les lignes de ") + copie +
                             QStringLiteral(" n'ont pas pu revenir dans ") + nom;
    for (const auto &[colonne, type] : colonnesDuSite(m_etat, table, copie)) {
        if (m_etat.colonneExiste(nom, colonne)) continue;
        const QString nomSql = identifiantSql(colonne);
        if (nomSql.isEmpty() ||
            !sql(QStringLiteral("ALTER TABLE ") + nom + QStringLiteral(" ADD COLUMN ") + nomSql +
                 u' ' + motTypeDuMoteur(type))) {
            for (const QString &c : ajoutees)
                m_etat.oublierColonne(nom, c);
            noterInacheve(inacheve);
            return;
        }
        m_etat.noterColonne(nom, colonne, type);
        ajoutees << colonne;
    }
    QStringList communes, copiees, egalites;
    for (const QString &c : m_etat.colonnes(copie))
        if (const QString n = identifiantSql(c); !n.isEmpty() && m_etat.colonneExiste(nom, c)) {
            communes << n;
            copiees << QStringLiteral("C.") + n;
            egalites << QStringLiteral("(T.%1 = C.%1 OR (T.%1 IS NULL AND C.%1 IS NULL))").arg(n);
        }
    // A rebuild may have stopped before its copy was dropped, or even before the table was: the
    // rows the table holds already are not added twice.
    QString selection = QStringLiteral("SELECT ") + copiees.join(QStringLiteral(", ")) +
                        QStringLiteral(" FROM ") + copie + QStringLiteral(" C");
    if (existait)
        selection += QStringLiteral(" WHERE NOT EXISTS (SELECT * FROM ") + nom +
                     QStringLiteral(" T WHERE ") + egalites.join(QStringLiteral(" AND ")) + u')';
    if (!communes.isEmpty() &&
        sql(QStringLiteral("INSERT INTO ") + nom + QStringLiteral(" (") +
            communes.join(QStringLiteral(", ")) + QStringLiteral(") ") + selection) &&
        sql(QStringLiteral("DROP TABLE ") + copie) && transaction.valider()) {
        m_etat.oublierTable(copie);
        return;
    }
    for (const QString &c : ajoutees)
        m_etat.oublierColonne(nom, c);
    noterInacheve(inacheve);
}

// ---- markers

bool MiseAJour::marqueurPresent(const QString &module, const QString &identifiant)
{
    if (!m_marqueursLus) {
        m_marqueursLus = true;
        const Tableau t = lire(QStringLiteral("SELECT Module, Identifiant FROM PARAMETRES"));
        for (int l = 0; l < t.nbLignes(); ++l)
            noterMarqueur(m_marqueurs, t.texte(l, QStringLiteral("Module")),
                          t.texte(l, QStringLiteral("Identifiant")));
    }
    return m_marqueurs.contains(module.toLower() + u'|' + identifiant.toLower());
}

bool MiseAJour::ecrireMarqueur(const QString &module, const QString &identifiant, bool avecDate)
{
    const QString date =
        avecDate ? dateSQL(QDateTime::currentDateTime(), true) : QStringLiteral("null");
    if (!sql(QStringLiteral(
                 "INSERT INTO PARAMETRES (Module, DateCreation, Mac, Identifiant) VALUES (") +
             sqlTexte(module) + u',' + date + QStringLiteral(",null,") + sqlTexte(identifiant) +
             u')'))
        return false;
    noterMarqueur(m_marqueurs, module, identifiant);
    return true;
}

const QStringList &MiseAJour::codesBSS()
{
    if (!m_codesLus) {
        m_codesLus = true;
        const Tableau t = lire(QStringLiteral("SELECT DISTINCT CodeBSS FROM QUALITOMETRES WHERE "
                                              "CodeBSS IS NOT NULL ORDER BY CodeBSS"));
        for (int l = 0; l < t.nbLignes(); ++l)
            m_codesBSS << t.texte(l, QStringLiteral("CodeBSS"));
    }
    return m_codesBSS;
}

// ---- steps

void MiseAJour::etapePreparation()
{
    message(QStringLiteral("Préparation de la mise à jour"));
    // Renamed columns, before the completion would add the new name beside the old one.
    const struct
    {
        const char *table, *ancien, *nouveau;
    } renommages[] = {{"PARAMETRES", "Date", "DateCreation"},
                      {"ADES_JOURNALISATION", "Date", "DateCreation"},
                      {"INTERVENANTS", "Téléphone", "Telephone"}};
    for (const auto &r : renommages) {
        const QString table = QString::fromUtf8(r.table), ancien = QString::fromUtf8(r.ancien),
                      nouveau = QString::fromUtf8(r.nouveau);
        if (m_etat.colonneExiste(table, ancien) && !m_etat.colonneExiste(table, nouveau) &&
            m_bd.renommerColonne(table, ancien, nouveau))
            m_etat.renommerColonne(table, ancien, nouveau);
    }
    // The journal first, so that this run's entry lands in its current layout.
    const DefinitionTable &journal = *definitionTable(u"JOURNAL");
    recupererCopie(journal);
    if (m_etat.tableExiste(QStringLiteral("JOURNAL")) &&
        !m_etat.colonneExiste(QStringLiteral("JOURNAL"), QStringLiteral("niveau")))
        reconstruireTable(journal);
    else
        completerTable(journal);
    journaliser(QStringLiteral("Mise à jour de la version ") + m_version);
}

void MiseAJour::etapeSchemaCommun()
{
    message(QStringLiteral("Mise à jour des tables communes"));
    completerTables(EtapeSchema::SchemaCommun);
    // Columns of the user tables added with a value for the rows already there, as the login
    // adds them: an upgrade run before any login must not leave station grants without a mode
    // (neither listed nor removed by the administration) nor administrators without reference
    // editing.
    ajouterColonneRemplie(QStringLiteral("UTILISATEURS_STATIONS"), QStringLiteral("modeSelect"),
                          QStringLiteral("UPDATE UTILISATEURS_STATIONS set modeSelect='SINGLE'"));
    ajouterColonneRemplie(
        QStringLiteral("UTILISATEURS"), QStringLiteral("metadata"),
        QStringLiteral("UPDATE UTILISATEURS SET metadata = '1' WHERE isAdmin = '1'"));
}

void MiseAJour::etapeIndex()
{
    message(QStringLiteral("Mise à jour des index"));
    for (const DefinitionIndex &i : catalogueIndex()) {
        const QString nom = QLatin1String(i.nom), table = QLatin1String(i.table);
        if (m_etat.indexExiste(nom) || !m_etat.tableExiste(table)) continue;
        if (i.unique && !indexUniquePossible(i)) continue;
        if (sql(sqlCreationIndex(i))) m_etat.noterIndex(nom, table);
    }
}

// A unique index over rows that repeat a key is not created: the repeated keys go to the journal
// for an administrator to sort out, and no row is deleted. The next upgrade tries again.
bool MiseAJour::indexUniquePossible(const DefinitionIndex &index)
{
    const QString colonnes = QLatin1String(index.colonnes);
    QStringList nonNuls;
    for (const QString &c : colonnes.split(u','))
        nonNuls << c.trimmed() + QStringLiteral(" IS NOT NULL");
    const Tableau t =
        m_bd.extraire(QStringLiteral("SELECT ") + colonnes + QStringLiteral(", count(*) FROM ") +
                      QLatin1String(index.table) + QStringLiteral(" WHERE ") +
                      nonNuls.join(QStringLiteral(" AND ")) + QStringLiteral(" GROUP BY ") +
                      colonnes + QStringLiteral(" HAVING count(*) > 1 ORDER BY 1"));
    if (t.estVide()) return true;
    QStringList doublons;
    for (int l = 0; l < t.nbLignes() && l < 50; ++l) {
        QStringList cle;
        for (int c = 0; c + 1 < t.nbColonnes(); ++c)
            cle << t.texte(l, c);
        doublons << QStringLiteral("« %1 » (%2 fois)")
                        .arg(cle.join(QStringLiteral(", ")), t.texte(l, t.nbColonnes() - 1));
    }
    if (t.nbLignes() > 50) doublons << QStringLiteral("et %1 autre(s)").arg(t.nbLignes() - 50);
    journaliserErreur(
        QStringLiteral("Mise à jour du schéma : l'index unique %1 n'est pas créé")
            .arg(QLatin1String(index.nom)),
        QStringLiteral(
            "Valeurs en double dans %1 (%2) : %3. Aucune ligne n'a été supprimée ; l'index sera "
            "créé par une mise à jour qui suivra leur correction.")
            .arg(QLatin1String(index.table), colonnes, doublons.join(QStringLiteral(", "))));
    return false;
}

void MiseAJour::etapeUnites()
{
    message(QStringLiteral("Mise à jour des unités de comptage"));
    completerTables(EtapeSchema::Unites);
}

void MiseAJour::etapeReferentiels()
{
    message(QStringLiteral("Mise à jour des référentiels"));
    completerTables(EtapeSchema::Referentiels);
    // Macroinvertebrate points took the support code of the current protocol.
    if (m_etat.tableExiste(QStringLiteral("QUALITOMETRES_POINTS")))
        sql(QStringLiteral(
            "update qualitometres_points set identifiant='131' where identifiant='002'"));
    marquerSelections();
}

// Lists saved before lists had a type are physico-chemical ones; a type without a default list
// takes its greatest code as default. Only lists of that type are looked at: the same code may
// name a list of another type, and a type that has its default keeps it.
void MiseAJour::marquerSelections()
{
    const QString titres = QStringLiteral("ANALYSES_PARAMETRES_SELECTIONS_TITRE");
    if (!m_etat.tableExiste(titres)) return;
    sql(QStringLiteral("UPDATE ANALYSES_PARAMETRES_SELECTIONS_TITRE SET typeListe=0 WHERE "
                       "typeListe is null"));
    if (m_etat.tableExiste(QStringLiteral("ANALYSES_PARAMETRES_SELECTIONS")))
        sql(QStringLiteral("UPDATE ANALYSES_PARAMETRES_SELECTIONS SET typeListe=0 WHERE "
                           "typeListe is null"));
    sql(QStringLiteral(
        "UPDATE ANALYSES_PARAMETRES_SELECTIONS_TITRE SET defaut='X' WHERE NOT EXISTS (SELECT 1 "
        "FROM ANALYSES_PARAMETRES_SELECTIONS_TITRE D WHERE "
        "D.typeListe=ANALYSES_PARAMETRES_SELECTIONS_TITRE.typeListe AND D.defaut='X') AND "
        "code=(SELECT max(M.code) FROM ANALYSES_PARAMETRES_SELECTIONS_TITRE M WHERE "
        "M.typeListe=ANALYSES_PARAMETRES_SELECTIONS_TITRE.typeListe)"));
}

void MiseAJour::etapeJobs()
{
    message(QStringLiteral("Mise à jour des tâches d'import"));
    completerTables(EtapeSchema::Jobs);
}

void MiseAJour::etapeRecherche()
{
    message(QStringLiteral("Mise à jour des résultats de recherche"));
    completerTables(EtapeSchema::Recherche);
    convertirCodesListes();
}

// Older layouts kept a saved search's list code as a number, which no list code like "MOOX" fits:
// the column becomes text, its numbers written without a decimal part ("12", not "12.0").
void MiseAJour::convertirCodesListes()
{
    const QString table = QStringLiteral("RESULT_RECH_VYK"), colonne = QStringLiteral("CodeListe");
    const QString type = m_etat.typeColonne(table, colonne);
    const bool texte = type.isEmpty() || type.startsWith(u"text") ||
                       type.startsWith(u"character varying") || type.startsWith(u"varchar");
    if (texte || annule()) return;
    Transaction transaction(m_bd);
    const bool ok = sql(QStringLiteral("ALTER TABLE RESULT_RECH_VYK ALTER CodeListe TEXT(17)")) &&
                    sql(QStringLiteral("UPDATE RESULT_RECH_VYK SET CodeListe=substr(CodeListe, 1, "
                                       "length(CodeListe)-2) WHERE CodeListe LIKE '%.0'"));
    if (ok && transaction.valider()) {
        m_etat.noterColonne(table, colonne, QStringLiteral("text(17)"));
        return;
    }
    transaction.annuler();
    noterInacheve(QStringLiteral("la colonne CodeListe de RESULT_RECH_VYK n'a pas pu devenir un "
                                 "texte"));
}

void MiseAJour::etapeDonneesInitiales()
{
    message(QStringLiteral("Données de référence"));
    ecrireDonneesInitiales(*this);
    if (annule()) return;
    // Parameters and units that have thresholds are shown in the lists.
    if (m_etat.tableExiste(QStringLiteral("ANALYSES_SEUILS"))) {
        sql(QStringLiteral("UPDATE ANALYSES_PARAMETRES SET Actif='1' WHERE code in (SELECT "
                           "CodeParametre FROM ANALYSES_SEUILS)"));
        sql(QStringLiteral("UPDATE ANALYSES_UNITES SET Actif='1' WHERE code in (SELECT CodeUnite "
                           "FROM ANALYSES_SEUILS)"));
    }
}

bool MiseAJour::ecrireVersion()
{
    message(QStringLiteral("Enregistrement de la version ") + m_version);
    // The run's date is stored as a date-time, not as day-first text that a server would read
    // month first.
    Transaction transaction(m_bd);
    const bool ok = sql(QStringLiteral(
                        "DELETE from PARAMETRES WHERE module='VYLEN' and identifiant='version'")) &&
                    sql(QStringLiteral("INSERT INTO PARAMETRES (Module, DateCreation, Mac, "
                                       "Identifiant) VALUES ('VYLEN',") +
                        dateSQL(QDateTime::currentDateTime(), true) + u',' + sqlTexte(m_version) +
                        QStringLiteral(",'version')"));
    return ok ? transaction.valider() : (transaction.annuler(), false);
}

bool colonneMigree(const QString &table, const QString &colonne)
{
    static const char *const migrees[][2] = {
        {"PRELEVEMENTS", "codeOperation"},
        {"PRELEVEMENTS", "codeDemande"},
        {"PRELEVEMENTS_DOSSIERS", "codeQualitometre"},
        {"PRELEVEMENTS_ECHANTILLONS", "codeQualitometre"},
        {"PRELEVEMENTS_FINALITES", "codeQualitometre"},
        {"PARAMETRAGE_DATA", "version"},
        {"UTILISATEURS_STATIONS", "modeSelect"},
        {"UTILISATEURS", "metadata"},
    };
    for (const auto &m : migrees)
        if (table.compare(QLatin1String(m[0]), Qt::CaseInsensitive) == 0 &&
            colonne.compare(QLatin1String(m[1]), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace vyk
