#include "referentials/ReferentielCodes.h"

#include "db/BaseDonnees.h"
#include "db/Journal.h"
#include "db/Lot.h"
#include "db/Outils.h"
#include "db/Progression.h"
#include "db/RaisonsMoteur.h"
#include "db/Session.h"
#include "db/Sql.h"
#include "referentials/LectureXml.h"
#include "referentials/ListesCodees.h"
#include "referentials/ModeleListeReference.h"
#include "schema/Catalogue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QXmlStreamReader>

#include <limits>

namespace vyk {

namespace {

// Element names read, compared without regard to case or namespace prefix.
enum class Champ
{
    Aucun,
    Numero,
    Code,
    Libelle,
    Mnemonique,
    Statut,
    Definition,
    Creation,
    MiseAJour
};

Champ champElement(QStringView nom)
{
    static const QHash<QString, Champ> noms = {
        {QStringLiteral("cdnomenclature"), Champ::Numero},
        {QStringLiteral("codenomenclature"), Champ::Numero},
        {QStringLiteral("cdelement"), Champ::Code},
        {QStringLiteral("codeelement"), Champ::Code},
        {QStringLiteral("lbelement"), Champ::Libelle},
        {QStringLiteral("libelleelement"), Champ::Libelle},
        {QStringLiteral("mnelement"), Champ::Mnemonique},
        {QStringLiteral("mnemoelement"), Champ::Mnemonique},
        {QStringLiteral("stelement"), Champ::Statut},
        {QStringLiteral("stcodeelement"), Champ::Statut},
        {QStringLiteral("statutelement"), Champ::Statut},
        {QStringLiteral("definitionelement"), Champ::Definition},
        {QStringLiteral("dfelement"), Champ::Definition},
        {QStringLiteral("datecreationelement"), Champ::Creation},
        {QStringLiteral("datecreationcodeelement"), Champ::Creation},
        {QStringLiteral("datemajelement"), Champ::MiseAJour},
        {QStringLiteral("datemajcodeelement"), Champ::MiseAJour},
    };
    return noms.value(nom.toString().toLower(), Champ::Aucun);
}

// An element that may be an entry: the fields read directly under it.
struct Cadre
{
    EntreeReferentiel entree;
    bool aCode = false;
};

QDateTime lireDateReferentiel(const QString &texte)
{
    const QString t = texte.trimmed();
    if (t.isEmpty()) return {};
    QDateTime d = lireDate(t);
    if (!d.isValid()) d = QDateTime::fromString(t, Qt::ISODateWithMs);
    if (!d.isValid() && t.size() > 10)
        d = lireDate(t.left(10)); // time zone or fraction the reader does not know
    return d;
}

int tailleColonne(const char *colonne)
{
    const DefinitionTable *t = definitionTable(u"CODES_SANDRE");
    const DefinitionColonne *c = t ? t->colonne(QString::fromLatin1(colonne)) : nullptr;
    return c ? c->taille : 0;
}

bool estCodeNumerique(const QString &code)
{
    if (code.isEmpty() || code.size() > 9) return false;
    for (const QChar c : code)
        if (!c.isDigit() || c.unicode() > 127) return false;
    return true;
}

} // namespace

QString adresseSiteReferentiel()
{
    return QStringLiteral("https://www.sandre.eaufrance.fr/");
}

QString adresseReferentiel(const QString &numero, const QString &version)
{
    return adresseSiteReferentiel() +
           QStringLiteral("urn.php?urn=urn:sandre:donnees:NSA:FRA:code:") + numero +
           QStringLiteral(":::referentiel:") + version + QStringLiteral(":html");
}

QStringList fichiersReferentiel(const QString &dossier)
{
    QStringList r;
    const QDir d(dossier);
    const QFileInfoList infos =
        d.entryInfoList({QStringLiteral("*.xml"), QStringLiteral("*.XML")},
                        QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &i : infos)
        if (!r.contains(i.absoluteFilePath())) r << i.absoluteFilePath();
    return r;
}

bool lireFichierReferentiel(const QString &chemin, FichierReferentiel &fichier, QString &erreur)
{
    fichier = {};
    fichier.chemin = chemin;
    const QString nom = QFileInfo(chemin).fileName();
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) {
        erreur = QStringLiteral("Impossible d'ouvrir le fichier ") + chemin + u'.';
        return false;
    }
    QXmlStreamReader xml(&f);
    QVector<Cadre> pile;
    QString numero;
    while (!xml.atEnd()) {
        const auto jeton = xml.readNext();
        if (jeton == QXmlStreamReader::StartElement) {
            const Champ c = champElement(xml.name());
            if (c == Champ::Aucun) {
                if (!verifierProfondeurXml(xml, pile.size() + 1)) break;
                pile.append(Cadre{});
                continue;
            }
            QString texte;
            if (!lireTexteElement(xml, int(pile.size()) + 1, texte)) break;
            texte = texte.trimmed();
            if (c == Champ::Numero) {
                numero = texte;
                continue;
            }
            if (pile.isEmpty()) continue;
            EntreeReferentiel &e = pile.last().entree;
            switch (c) {
            case Champ::Code:
                e.code = texte;
                pile.last().aCode = !texte.isEmpty();
                break;
            case Champ::Libelle:
                e.libelle = texte;
                break;
            case Champ::Mnemonique:
                e.mnemonique = texte;
                break;
            case Champ::Statut:
                e.statut = texte;
                break;
            case Champ::Definition:
                e.definition = texte;
                break;
            case Champ::Creation:
                e.creation = texte;
                break;
            case Champ::MiseAJour:
                e.miseAJour = texte;
                break;
            default:
                break;
            }
        } else if (jeton == QXmlStreamReader::EndElement && !pile.isEmpty()) {
            Cadre cadre = pile.takeLast();
            if (cadre.aCode) {
                cadre.entree.numero = numero;
                fichier.entrees.append(std::move(cadre.entree));
            }
        }
    }
    if (xml.hasError()) {
        erreur = messageXmlInvalide(nom, xml);
        fichier.entrees.clear();
        return false;
    }
    if (fichier.entrees.isEmpty()) {
        erreur = QStringLiteral("Le fichier ") + nom +
                 QStringLiteral(
                     " ne contient aucun code de nomenclature du référentiel (élément CdElement).");
        return false;
    }
    return true;
}

QStringList entetesReferentiel()
{
    return {QStringLiteral("Référentiel"), QStringLiteral("Code"),
            QStringLiteral("Libellé"),     QStringLiteral("Mnémonique"),
            QStringLiteral("Statut"),      QStringLiteral("Définition"),
            QStringLiteral("Création"),    QStringLiteral("Mise à jour")};
}

QStringList ligneReferentiel(const EntreeReferentiel &e)
{
    return {e.numero, e.code,       e.libelle,  e.mnemonique,
            e.statut, e.definition, e.creation, e.miseAJour};
}

namespace {

// The work of one integration run: list keys by number, existing entries of each list.
class Integration
{
  public:
    explicit Integration(BilanIntegration &bilan) : m_bilan(bilan) {}

    // The keys of the lists that follow a nomenclature number, read once per number; none when
    // no list does. Several lists may follow one nomenclature: each is fed.
    QStringList champs(const QString &numero)
    {
        if (m_champs.contains(numero)) return m_champs.value(numero);
        QStringList c;
        bool ok = false;
        const int n = numero.toInt(&ok);
        if (ok) {
            const Tableau t = bd().extraire(
                QStringLiteral("SELECT DISTINCT champ from codes_sandre_referentiel where code=") +
                QString::number(n) + QStringLiteral(" ORDER BY champ"));
            for (int i = 0; i < t.nbLignes(); ++i)
                if (const QString champ = t.texte(i, QStringLiteral("champ")).trimmed();
                    !champ.isEmpty() && !c.contains(champ))
                    c << champ;
        }
        m_champs.insert(numero, c);
        if (c.isEmpty())
            m_bilan.erreurs
                << (numero.isEmpty()
                        ? QStringLiteral("Des codes ne sont rattachés à aucune nomenclature : ils "
                                         "sont ignorés.")
                        : QStringLiteral("La nomenclature ") + numero +
                              QStringLiteral(
                                  " n'est rattachée à aucune liste de codes "
                                  "(table CODES_SANDRE_REFERENTIEL) : ses codes sont ignorés."));
        return c;
    }

    void integrer(const QString &champ, const EntreeReferentiel &e)
    {
        Liste &liste = this->liste(champ);
        const QString code = e.code.trimmed();
        for (const auto &[texte, nom] : {std::pair{&e.code, "code"},
                                         {&e.libelle, "libellé"},
                                         {&e.mnemonique, "mnémonique"},
                                         {&e.definition, "définition"}})
            if (const QString refus = refusTexteImporte(*texte, QString::fromUtf8(nom));
                !refus.isEmpty()) {
                rejeter(champ, code, refus);
                return;
            }
        int cle = 0;
        bool existe = false;
        QString reference;
        if (estCodeNumerique(code)) {
            cle = code.toInt();
            existe = liste.codes.contains(cle);
            // A national number that a local code already took: updating would overwrite
            // another entry.
            if (liste.locaux.contains(cle)) {
                rejeter(champ, code,
                        QStringLiteral("ce code est déjà attribué localement au code ") +
                            liste.locaux.value(cle));
                return;
            }
        } else {
            reference = code;
            if (reference.size() > 20) {
                rejeter(champ, code, QStringLiteral("code trop long (20 caractères au plus)"));
                return;
            }
            existe = liste.references.contains(reference);
            cle = existe ? liste.references.value(reference)
                         : std::max(liste.maxLocal + 1, PREMIER_CODE_LOCAL);
        }

        // A server refuses a text longer than its column where the desktop file keeps it
        // whole: refused alike on both.
        const struct
        {
            const QString &texte;
            const char *colonne;
            const char *nom;
        } textes[] = {{e.libelle, "Libelle", "libellé"},
                      {e.mnemonique, "mnemonique", "mnémonique"}};
        for (const auto &t : textes)
            if (const int n = tailleColonne(t.colonne); n > 0 && t.texte.size() > n) {
                rejeter(champ, code,
                        QString::fromUtf8(t.nom) +
                            QStringLiteral(" trop long (%1 caractères au plus)").arg(n));
                return;
            }

        // Fields set only when the file gives them.
        QStringList colonnes;
        QVector<QVariant> valeurs;
        auto ajouter = [&](const char *colonne, const QVariant &v) {
            if (!v.isNull()) {
                colonnes << QString::fromLatin1(colonne);
                valeurs << v;
            }
        };
        auto texte = [](const QString &t) { return t.isEmpty() ? QVariant() : QVariant(t); };
        ajouter("Libelle", texte(e.libelle));
        ajouter("mnemonique", texte(e.mnemonique));
        ajouter("Commentaire", texte(e.definition));
        const QDateTime creation = lireDateReferentiel(e.creation);
        const QDateTime miseAJour = lireDateReferentiel(e.miseAJour);
        ajouter("DateCreation", creation.isValid() ? QVariant(creation) : QVariant());
        ajouter("DateModification", miseAJour.isValid() ? QVariant(miseAJour) : QVariant());
        const int statut = statutDepuisTexte(e.statut);
        ajouter("Statut", statut >= 0 ? QVariant(statut) : QVariant());

        bool ok = false;
        if (existe) {
            if (colonnes.isEmpty()) {
                ++m_bilan.modifies;
                if (!m_ecrites.contains(champ)) m_ecrites << champ;
                return;
            }
            QStringList affectations;
            for (const QString &c : colonnes)
                affectations << c + QStringLiteral("=?");
            valeurs << champ << cle;
            InstructionPreparee p = bd().preparer(QStringLiteral("UPDATE CODES_SANDRE SET ") +
                                                  affectations.join(QStringLiteral(", ")) +
                                                  QStringLiteral(" WHERE Champ=? AND Code=?"));
            ok = p.executer(valeurs);
            if (ok) ++m_bilan.modifies;
        } else {
            colonnes << QStringLiteral("Champ") << QStringLiteral("Code")
                     << QStringLiteral("Projet");
            valeurs << champ << cle << QStringLiteral("VYK");
            if (!reference.isEmpty()) {
                colonnes << QStringLiteral("codeReference");
                valeurs << reference;
            }
            QStringList marques;
            for (qsizetype i = 0; i < colonnes.size(); ++i)
                marques << QStringLiteral("?");
            InstructionPreparee p = bd().preparer(
                QStringLiteral("INSERT INTO CODES_SANDRE (") + colonnes.join(QStringLiteral(", ")) +
                QStringLiteral(") VALUES (") + marques.join(QStringLiteral(", ")) + u')');
            ok = p.executer(valeurs);
            if (ok) {
                ++m_bilan.ajoutes;
                liste.codes.insert(cle);
                // Local codes are taken above every code of 1000 or more, national ones included.
                if (cle >= PREMIER_CODE_LOCAL) liste.maxLocal = std::max(liste.maxLocal, cle);
                if (!reference.isEmpty()) {
                    liste.references.insert(reference, cle);
                    liste.locaux.insert(cle, reference);
                }
            }
        }
        if (!ok)
            rejeter(champ, code, bd().derniereErreur());
        else if (!m_ecrites.contains(champ))
            m_ecrites << champ;
    }

    // Each updated list's referential row gets today and the login.
    void noterMisesAJour()
    {
        const QDateTime aujourdhui(QDate::currentDate(), QTime(0, 0));
        const QString login = session().login;
        InstructionPreparee p = bd().preparer(QStringLiteral(
            "UPDATE CODES_SANDRE_REFERENTIEL SET dateMaj=?, userMaj=? WHERE champ=?"));
        for (const QString &champ : std::as_const(m_ecrites))
            p.executer(
                {aujourdhui, login.isEmpty() ? QVariant() : QVariant(login.left(12)), champ});
    }

  private:
    struct Liste
    {
        QSet<int> codes;
        QHash<QString, int> references;
        QHash<int, QString> locaux; // code -> national code kept in codeReference
        int maxLocal = 0;
    };

    Liste &liste(const QString &champ)
    {
        auto it = m_listes.find(champ);
        if (it != m_listes.end()) return *it;
        Liste l;
        const Tableau t = bd().extraire(
            QStringLiteral("SELECT Code, codeReference FROM codes_sandre WHERE champ=") +
            sqlTexte(champ));
        for (int i = 0; i < t.nbLignes(); ++i) {
            const int code = t.valeur(i, QStringLiteral("Code")).toInt();
            l.codes.insert(code);
            const QString ref = t.texte(i, QStringLiteral("codeReference")).trimmed();
            if (!ref.isEmpty()) {
                l.references.insert(ref, code);
                if (code >= PREMIER_CODE_LOCAL) l.locaux.insert(code, ref);
            }
            if (code >= PREMIER_CODE_LOCAL) l.maxLocal = std::max(l.maxLocal, code);
        }
        m_bilan.listes << champ;
        return *m_listes.insert(champ, std::move(l));
    }

    void rejeter(const QString &champ, const QString &code, const QString &raison)
    {
        ++m_bilan.rejetes;
        m_bilan.erreurs << QStringLiteral("Code ") + QString(code).replace(QChar(u'\0'), u'?') +
                               QStringLiteral(" de ") + champ + QStringLiteral(" : ") + raison;
    }

    BilanIntegration &m_bilan;
    QStringList m_ecrites; // lists where a code was added or updated
    QHash<QString, QStringList> m_champs;
    QHash<QString, Liste> m_listes;
};

} // namespace

BilanIntegration integrerReferentiel(const QVector<EntreeReferentiel> &entrees,
                                     Progression &progression, const QString &source)
{
    BilanIntegration bilan;
    QString erreurMoteur;
    if (!autoriserModificationReferentiels()) {
        bilan.annule = true;
        return bilan;
    }
    {
        Lot lot;
        // Local codes are allocated from what is read here: no other workstation writes meanwhile.
        bd().verrouiller(QStringLiteral("CODES_SANDRE"));
        Integration integration(bilan);
        progression.message(QStringLiteral("Intégration des codes Sandre"));
        // National numbers first: the local codes of the other entries are then taken above
        // them, and no entry of the file takes a number that a later one carries.
        QVector<qsizetype> ordre;
        ordre.reserve(entrees.size());
        for (int passe = 0; passe < 2; ++passe)
            for (qsizetype i = 0; i < entrees.size(); ++i)
                if (estCodeNumerique(entrees[i].code.trimmed()) == (passe == 0)) ordre.append(i);
        const long long total = entrees.size();
        for (long long n = 0; n < total; ++n) {
            if (progression.annule()) {
                bilan.annule = true;
                break;
            }
            progression.position(n, total);
            const EntreeReferentiel &e = entrees[ordre[n]];
            const QStringList champs = integration.champs(e.numero.trimmed());
            if (champs.isEmpty()) {
                ++bilan.rejetes;
                continue;
            }
            for (const QString &champ : champs)
                integration.integrer(champ, e);
        }
        integration.noterMisesAJour();
        progression.position(total, total);
        if (!lot.terminer()) {
            erreurMoteur = bd().derniereErreur();
            bilan.echec = rienEnregistre(erreurMoteur);
            bilan.ajoutes = bilan.modifies = 0;
        }
    }
    QString detail = (source.isEmpty() ? QString() : source + QStringLiteral(" : ")) +
                     QString::number(bilan.ajoutes) + QStringLiteral(" code(s) ajouté(s), ") +
                     QString::number(bilan.modifies) + QStringLiteral(" mis à jour, ") +
                     QString::number(bilan.rejetes) + QStringLiteral(" rejeté(s)");
    if (!bilan.listes.isEmpty())
        detail += QStringLiteral(" ; listes : ") + bilan.listes.join(QStringLiteral(", "));
    if (bilan.annule) detail += QStringLiteral(" ; interrompue par l'utilisateur");
    if (!bilan.echec.isEmpty())
        detail += QStringLiteral(" ; ") + bilan.echec + QStringLiteral(" (") + erreurMoteur + u')';
    if (!bilan.erreurs.isEmpty()) detail += u'\n' + bilan.erreurs.join(u'\n');
    journaliser(QStringLiteral("Intégration des codes Sandre"), detail);
    return bilan;
}

QStringList listesNomenclatureVides()
{
    if (!bd().tableExiste(QStringLiteral("CODES_SANDRE_REFERENTIEL")) ||
        !bd().tableExiste(QStringLiteral("CODES_SANDRE")))
        return {};
    const Tableau t =
        bd().extraire(QStringLiteral("SELECT champ FROM CODES_SANDRE_REFERENTIEL WHERE referentiel "
                                     "IS NOT NULL AND referentiel <> '' "
                                     "AND ucase(champ) NOT IN (SELECT DISTINCT ucase(Champ) FROM "
                                     "CODES_SANDRE WHERE Champ IS NOT NULL) "
                                     "ORDER BY champ"));
    QStringList champs;
    for (int l = 0; l < t.nbLignes(); ++l)
        champs << t.texte(l, QStringLiteral("champ")).trimmed();
    return champs;
}

QStringList listesLieuxVides()
{
    const struct
    {
        const char *table, *nom;
    } listes[] = {
        {"COMMUNES", "Communes"}, {"PAYS", "Pays"}, {"BASSINS_VERSANTS", "Bassins versants"}};
    QStringList vides;
    for (const auto &l : listes) {
        const QString table = QString::fromLatin1(l.table);
        if (bd().tableExiste(table) &&
            bd().valeur(QStringLiteral("SELECT count(*) FROM ") + table).toLongLong() == 0)
            vides << QString::fromUtf8(l.nom);
    }
    return vides;
}

} // namespace vyk
