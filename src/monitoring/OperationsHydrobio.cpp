#include "monitoring/OperationsHydrobio.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "db/Lot.h"
#include "db/Messages.h"
#include "db/Outils.h"
#include "db/Session.h"
#include "db/Sql.h"
#include "schema/Catalogue.h"

#include <QDate>
#include <QSet>

namespace vyk {

namespace {

const QString TABLE = QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS");
const QString INTERVENANTS =
    QStringLiteral("SELECT Nom, CodeIntervenant FROM INTERVENANTS ORDER BY Nom");
const QString CONTACTS = QStringLiteral("SELECT Nom, CodeContact FROM CONTACTS ORDER BY Nom");
const QString METHODES = QStringLiteral("SELECT Nom, Code FROM METHODES ORDER BY Nom");

bool colonneNumerique(const QString &colonne)
{
    const DefinitionTable *t = definitionTable(TABLE);
    const DefinitionColonne *c = t ? t->colonne(colonne) : nullptr;
    return c && estNumerique(c->type);
}

int tailleColonne(const QString &colonne)
{
    const DefinitionTable *t = definitionTable(TABLE);
    const DefinitionColonne *c = t ? t->colonne(colonne) : nullptr;
    return c && c->type == TypeNeutre::Texte ? c->taille : 0;
}

bool saisieCorrecte(const ChampOperation &c, const QString &texte)
{
    const DefautSaisie d = champDecrit(c).defaut(texte);
    return d == DefautSaisie::Aucun || d == DefautSaisie::Absent;
}

QString pasCorrect(const ChampOperation &c, const QString &valeur)
{
    return QStringLiteral("La valeur « %1 » du champ %2 n'est pas correcte.").arg(valeur, c.titre);
}

} // namespace

ChampDecrit champDecrit(const ChampOperation &c)
{
    ChampDecrit d;
    d.colonne = c.colonne;
    d.libelle = c.titre;
    d.nature = c.genre;
    d.numerique = colonneNumerique(c.colonne);
    return d;
}

const QVector<ChampOperation> &champsOperation()
{
    using G = NatureChamp;
    static const QVector<ChampOperation> champs = {
        {QStringLiteral("dateDebut"), QStringLiteral("Date"), G::Date},
        {QStringLiteral("heureDebut"), QStringLiteral("Heure"), G::Heure},
        {QStringLiteral("dateFin"), QStringLiteral("Fin"), G::Date},
        {QStringLiteral("heureFin"), QStringLiteral("Heure de fin"), G::Heure},
        {QStringLiteral("codePoint"), QStringLiteral("Code site"), G::Code,
         QStringLiteral("POINTS")},
        {QStringLiteral("codeProducteur"), QStringLiteral("Producteur"), G::Code, INTERVENANTS,
         reglage::Producteur},
        {QStringLiteral("contactProducteur"), QStringLiteral("Contact producteur"), G::Code,
         CONTACTS},
        {QStringLiteral("codePreleveur"), QStringLiteral("Préleveur"), G::Code, INTERVENANTS,
         reglage::Preleveur},
        {QStringLiteral("contactPreleveur"), QStringLiteral("Contact préleveur"), G::Code, CONTACTS,
         reglage::ContactPreleveur},
        {QStringLiteral("codeDeterminateur"), QStringLiteral("Déterminateur"), G::Code,
         INTERVENANTS, reglage::Determinateur},
        {QStringLiteral("contactDeterminateur"), QStringLiteral("Contact déterminateur"), G::Code,
         CONTACTS, reglage::ContactDeterminateur},
        {QStringLiteral("supportBiologique"), QStringLiteral("Support biologique"), G::Code,
         QStringLiteral("SELECT Nom, Code FROM ANALYSES_SUPPORTS ORDER BY Nom"), reglage::Support},
        {QStringLiteral("protocoleBiologique"), QStringLiteral("Code Protocole"), G::Code, METHODES,
         reglage::ProtocolePrelevement},
        {QStringLiteral("methodeAnalyse"), QStringLiteral("Méthode d'analyse"), G::Code, METHODES},
        {QStringLiteral("qualification"), QStringLiteral("Code Qualification"), G::Code,
         QStringLiteral("ANALYSES.QUALIFICATION"), reglage::Qualification},
        {QStringLiteral("statut"), QStringLiteral("Code Statut"), G::Code,
         QStringLiteral("ANALYSES.STATUT"), reglage::Statut},
        {QStringLiteral("accreditation"), QStringLiteral("Accréditation"), G::Code,
         QStringLiteral("ANALYSES.ACCREDITATION"), reglage::Accreditation},
        {QStringLiteral("bancarisationautorise"), QStringLiteral("Bancarisation autorisée"),
         G::OuiNon},
        {QStringLiteral("codecampagne"), QStringLiteral("Campagne"), G::Code,
         QStringLiteral("SELECT libelle, codeCampagne FROM CAMPAGNES ORDER BY libelle")},
        {QStringLiteral("saisonnalite"), QStringLiteral("Saisonnalité"), G::Code,
         QStringLiteral("PRELEVEMENTS.SAISONNALITES"), reglage::Saisonnalite},
        {QStringLiteral("longeur"), QStringLiteral("Longueur"), G::Nombre},
        {QStringLiteral("largeurMoyenne"), QStringLiteral("Largeur"), G::Nombre},
        {QStringLiteral("superficieMouillee"), QStringLiteral("Surface mouillée"), G::Nombre},
        {QStringLiteral("vitesse"), QStringLiteral("Vitesse"), G::Code,
         QStringLiteral("PRELEVEMENTS.VITESSE")},
        {QStringLiteral("Ombrag"), QStringLiteral("Ombrage"), G::Code,
         QStringLiteral("PRELEVEMENTS.OMBRAGE")},
        {QStringLiteral("continu"), QStringLiteral("Continuité"), G::OuiNon},
        {QStringLiteral("modeConservationPrincipal"), QStringLiteral("Conservation principale"),
         G::Code, QStringLiteral("QUALITOMETRES.MODE_CONSERVATION"), reglage::ModeConservation},
        {QStringLiteral("modeConservationSecondaire"), QStringLiteral("Conservation secondaire"),
         G::Code, QStringLiteral("QUALITOMETRES.MODE_CONSERVATION"),
         reglage::ModeConservationSecondaire},
        {QStringLiteral("situationParticuliere"), QStringLiteral("Situation particulière"), G::Code,
         QStringLiteral("QUALITOMETRES.SITUATION_PARTICULIERE")},
        {QStringLiteral("localisation"), QStringLiteral("Localisation"), G::Memo},
        {QStringLiteral("interpretation"), QStringLiteral("Interprétation"), G::Memo},
        {QStringLiteral("Commentaires"), QStringLiteral("Commentaires"), G::Memo},
        // Edited on the tabs of the results and of the taxa.
        {QStringLiteral("commentaireResultat"),
         QStringLiteral("Commentaire des résultats"),
         G::Memo,
         {},
         {},
         false},
        {QStringLiteral("microPrelevement"),
         QStringLiteral("Micro-prélèvements"),
         G::OuiNon,
         {},
         {},
         false},
    };
    return champs;
}

const ChampOperation *champOperation(const QString &colonne)
{
    for (const ChampOperation &c : champsOperation())
        if (c.colonne.compare(colonne, Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

EntreesCodees entreesChampOperation(const ChampOperation &champ, qint64 station)
{
    if (champ.source == QLatin1String("POINTS"))
        return entreesRequete(
            QStringLiteral("SELECT identifiant & ' - ' & iif(nom IS NULL, '', nom), codePoint FROM "
                           "QUALITOMETRES_POINTS WHERE codeQualitometre=") +
            QString::number(station) + QStringLiteral(" ORDER BY identifiant, dateDebut"));
    if (champ.source.contains(u' ')) return entreesRequete(champ.source);
    return entreesListe(champ.source);
}

bool ListeOperations::charger(qint64 station, qint64 codePoint)
{
    m_grille = {};
    m_grille.entetes << QStringLiteral("Code");
    QStringList colonnes{QStringLiteral("codeOperation")};
    QVector<const ChampOperation *> champs;
    for (const ChampOperation &c : champsOperation())
        if (c.dansListe) {
            champs << &c;
            colonnes << c.colonne;
            m_grille.entetes << c.titre;
        }
    QString sql = QStringLiteral("SELECT ") + colonnes.join(QStringLiteral(", ")) +
                  QStringLiteral(" FROM ") + TABLE + QStringLiteral(" WHERE codeQualitometre=") +
                  QString::number(station);
    if (codePoint >= 0) sql += QStringLiteral(" AND codePoint=") + QString::number(codePoint);
    sql += QStringLiteral(" ORDER BY dateDebut DESC, codeOperation DESC");
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(sql, nb, t)) return false;
    // Labels of the coded fields, one query per list.
    QVector<QHash<QString, QString>> libelles(champs.size());
    for (int c = 0; c < champs.size(); ++c)
        if (champs[c]->genre == NatureChamp::Code && t.nbLignes() > 0)
            for (const EntreeCodee &e : entreesChampOperation(*champs[c], station))
                libelles[c].insert(e.code, e.libelle);
    m_grille.lignes.reserve(t.nbLignes());
    for (int l = 0; l < t.nbLignes(); ++l) {
        QStringList ligne{t.texte(l, QStringLiteral("codeOperation"))};
        for (int c = 0; c < champs.size(); ++c) {
            const QString texte = champDecrit(*champs[c]).texte(t.valeur(l, champs[c]->colonne));
            ligne << (champs[c]->genre == NatureChamp::Code ? libelles[c].value(texte, texte)
                                                            : texte);
        }
        m_grille.lignes.append(ligne);
    }
    return true;
}

qint64 codeOperationSuivant(qint64 station)
{
    const QVariant max = bd().valeur(
        QStringLiteral("SELECT Max(CodeOperation) FROM QUALITOMETRES_POINTS_OPERATIONS WHERE "
                       "codeQualitometre=") +
        QString::number(station));
    return max.isNull() ? 0 : qint64(max.toDouble()) + 1;
}

FicheOperation nouvelleOperation(qint64 station, qint64 codePoint)
{
    FicheOperation f;
    f.station = station;
    for (const ChampOperation &c : champsOperation())
        if (!c.reglageDefaut.isEmpty()) {
            const QString v = lireRegistre(c.reglageDefaut).trimmed();
            if (!v.isEmpty()) f.valeurs.insert(c.colonne, codeEntree(v));
        }
    f.valeurs.insert(QStringLiteral("dateDebut"),
                     QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    if (codePoint >= 0) f.valeurs.insert(QStringLiteral("codePoint"), QString::number(codePoint));
    return f;
}

FicheOperation chargerOperation(qint64 station, const QString &code)
{
    const Nombre n = enNombre(code, true);
    if (!n.estNombre()) return nouvelleOperation(station);
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT * FROM ") + TABLE + QStringLiteral(" WHERE codeQualitometre=") +
        QString::number(station) + QStringLiteral(" AND codeOperation=") + sqlNombre(n.valeur));
    if (t.estVide()) return nouvelleOperation(station);
    FicheOperation f;
    f.station = station;
    f.code = sqlNombre(n.valeur);
    for (const ChampOperation &c : champsOperation())
        f.valeurs.insert(c.colonne, champDecrit(c).texte(t.valeur(0, c.colonne)));
    return f;
}

ListeRefus verifierOperation(const FicheOperation &f)
{
    ListeRefus refus;
    for (const ChampOperation &c : champsOperation()) {
        const QString v = f.valeur(c.colonne);
        const int n = tailleColonne(c.colonne);
        if (c.colonne == QLatin1String("dateDebut")) {
            if (v.trimmed().isEmpty() || !lireDate(v.trimmed()).isValid())
                refus.append({c.colonne, texteOperations::DATE_DEBUT});
        } else if (!saisieCorrecte(c, v)) {
            refus.append({c.colonne, c.colonne == QLatin1String("dateFin")
                                         ? texteOperations::DATE_FIN
                                         : pasCorrect(c, v.trimmed())});
        } else if (n > 0 && c.genre != NatureChamp::OuiNon && v.trimmed().size() > n) {
            refus.append({c.colonne, pasCorrect(c, v.trimmed())});
        }
    }
    return refus;
}

CompteRendu enregistrerOperation(FicheOperation &f)
{
    if (const ListeRefus refus = verifierOperation(f); !refus.isEmpty())
        return echec(messageRefus(refus));
    // The next code is read under the table's lock, in the save's transaction: two workstations
    // adding an operation to one station at once get two codes.
    Transaction transaction;
    const bool verrou = transaction.estOuverte() && bd().verrouiller(TABLE);
    const qint64 code =
        f.estNouvelle() ? codeOperationSuivant(f.station) : qint64(enNombre(f.code, true).valeur);
    JeuEnregistrements jeu;
    bool trouve = false;
    bool ok =
        verrou &&
        bd().AccesBase(QStringLiteral("SELECT * FROM ") + TABLE +
                           QStringLiteral(" WHERE codeQualitometre=") + QString::number(f.station) +
                           QStringLiteral(" AND codeOperation=") + QString::number(code),
                       jeu, trouve, TABLE);
    if (ok) {
        if (!trouve) jeu.addnew();
        jeu.fields(QStringLiteral("codeQualitometre")) = double(f.station);
        jeu.fields(QStringLiteral("codeOperation")) = double(code);
        for (const ChampOperation &c : champsOperation())
            if (f.valeurs.contains(c.colonne))
                jeu.fields(c.colonne) = champDecrit(c).valeur(f.valeur(c.colonne));
        jeu.fields(QStringLiteral("loginmaj")) =
            session().login.isEmpty() ? QVariant() : QVariant(session().login);
        jeu.fields(QStringLiteral("datemaj")) = QDateTime::currentDateTime();
        ok = jeu.Update();
        jeu.Close();
    }
    if (!ok || !transaction.valider())
        return echec(QStringLiteral("L'enregistrement de l'opération a échoué :\n") +
                     bd().derniereErreur());
    f.code = QString::number(code);
    propagerQualificationStatut(f.station, code);
    return reussite(texteOperations::ENREGISTREE);
}

bool propagerQualificationStatut(qint64 station, qint64 operation)
{
    const Tableau op =
        bd().extraire(QStringLiteral("SELECT qualification, statut FROM ") + TABLE +
                      QStringLiteral(" WHERE codeQualitometre=") + QString::number(station) +
                      QStringLiteral(" AND codeOperation=") + QString::number(operation));
    if (op.estVide()) return false;
    const QString codeBSS =
        bd().valeur(QStringLiteral("SELECT CodeBSS FROM QUALITOMETRES WHERE codeQualitometre=") +
                    QString::number(station))
            .toString()
            .trimmed();
    const QString table = identifiantTable(PREFIXE_ANALYSES, codeBSS);
    // A station without results has no analysis table yet.
    if (table.isEmpty() || !bd().tableExiste(PREFIXE_ANALYSES + codeBSS)) return true;
    const QString echantillons =
        QStringLiteral(" WHERE numPrelevement IN (SELECT numPrelevement FROM PRELEVEMENTS WHERE "
                       "codeQualitometre=") +
        QString::number(station) + QStringLiteral(" AND codeOperation=") +
        QString::number(operation) + u')';
    auto valeur = [](const QVariant &v) {
        return v.isNull() ? QStringLiteral("null") : sqlTexte(texteValeur(v));
    };
    const bool q =
        bd().Execute(QStringLiteral("UPDATE ") + table + QStringLiteral(" SET codeQualification=") +
                     valeur(op.valeur(0, QStringLiteral("qualification"))) + echantillons);
    const bool s =
        bd().Execute(QStringLiteral("UPDATE ") + table + QStringLiteral(" SET statutMesure=") +
                     valeur(op.valeur(0, QStringLiteral("statut"))) + echantillons);
    return q && s;
}

CompteRendu supprimerOperation(qint64 station, const QString &code, const Confirmation &confirmer)
{
    const Nombre n = enNombre(code, true);
    if (!n.estNombre()) return echec(texteOperations::AUCUNE);
    if (!confirmer(texteOperations::QUESTION_SUPPRESSION)) return echec(QString());
    const QString s = QString::number(station), o = sqlNombre(n.valeur);
    const QString condition =
        QStringLiteral(" WHERE codeQualitometre=") + s + QStringLiteral(" AND codeOperation=") + o;
    const QString echantillons =
        QStringLiteral(" WHERE numPrelevement IN (SELECT numPrelevement FROM PRELEVEMENTS") +
        condition + u')';
    // Older databases may lack a table (the per-operation taxa rows, a station never given lists).
    QSet<QString> tables;
    for (const QString &t : bd().tables())
        tables.insert(t.toUpper());
    QStringList instructions;
    for (const char *t :
         {"QUALITOMETRES_OPERATIONS_PRELEVEMENTS", "QUALITOMETRES_OPERATIONS_TAXONS",
          "QUALITOMETRES_OPERATIONS_RESULTATS", "QUALITOMETRES_OPERATIONS_REC",
          "QUALITOMETRES_POINTS_OPERATIONS_ENV", "QUALITOMETRES_POINTS_OPERATIONS_DISPOSITIFS",
          "QUALITOMETRES_OPERATIONS_LISTE", "QUALITOMETRES_OPERATIONS_UNITES"})
        if (tables.contains(QLatin1String(t)))
            instructions << QStringLiteral("DELETE FROM ") + QLatin1String(t) + condition;
    const QString liste = identifiantTable(PREFIXE_LISTE_TAXONS, s);
    if (!liste.isEmpty() && tables.contains(PREFIXE_LISTE_TAXONS + s))
        instructions << QStringLiteral("DELETE FROM ") + liste +
                            QStringLiteral(" WHERE codeOperation=") + o;
    instructions << QStringLiteral("DELETE FROM ") + TABLE + condition;
    // The samples of the operation, their children and their analyses.
    const QString codeBSS =
        bd().valeur(QStringLiteral("SELECT CodeBSS FROM QUALITOMETRES WHERE codeQualitometre=") + s)
            .toString()
            .trimmed();
    const QString analyses = identifiantTable(PREFIXE_ANALYSES, codeBSS);
    if (!analyses.isEmpty() && tables.contains((PREFIXE_ANALYSES + codeBSS).toUpper()))
        instructions << QStringLiteral("DELETE FROM ") + analyses + echantillons;
    // Sample numbers are per station: the children are found by their station too.
    for (const char *t :
         {"PRELEVEMENTS_ECHANTILLONS", "PRELEVEMENTS_DOSSIERS", "PRELEVEMENTS_FINALITES"})
        instructions << QStringLiteral("DELETE FROM ") + QLatin1String(t) + echantillons +
                            QStringLiteral(" AND codeQualitometre=") + s;
    instructions << QStringLiteral("DELETE FROM PRELEVEMENTS") + condition;

    // A failing statement is skipped and the next one runs; the whole is one batch.
    QStringList echecs;
    {
        Lot lot;
        for (const QString &i : std::as_const(instructions))
            if (!bd().Execute(i)) echecs << bd().derniereErreur();
        if (!lot.terminer()) echecs << bd().derniereErreur();
    }
    if (!echecs.isEmpty())
        return echec(QStringLiteral("Une partie de la suppression a échoué :\n") +
                     echecs.join(u'\n'));
    return reussite(texteOperations::SUPPRIMEE);
}

} // namespace vyk
