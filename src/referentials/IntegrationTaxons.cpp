// "Intégration taxons": the rows read from a taxa file written into TAXONS.

#include "referentials/ImportTaxons.h"

#include "db/BaseDonnees.h"
#include "db/InsertionMassive.h"
#include "db/Lot.h"
#include "db/Outils.h"
#include "db/RaisonsMoteur.h"
#include "db/Sql.h"
#include "referentials/ListesCodees.h"
#include "referentials/ModeleListeReference.h"
#include "referentials/UsageTaxons.h"
#include "schema/Catalogue.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace vyk {

namespace {

const QString CHAMP_THEME = QStringLiteral("TAXONS.THEME");
// Written into the rows the import adds, where the file names no editor.
const QString REDACTEUR_IMPORT = QStringLiteral("VYDA");

const QStringList COLONNES_ECRITES = {
    QStringLiteral("nomLatin"),     QStringLiteral("statut"),
    QStringLiteral("dateCreation"), QStringLiteral("dateMiseAJour"),
    QStringLiteral("redacteur"),    QStringLiteral("nomCommun"),
    QStringLiteral("auteur"),       QStringLiteral("niveau"),
    QStringLiteral("theme"),        QStringLiteral("elementDe"),
    QStringLiteral("codeOmnidia"),  QStringLiteral("refMuseum"),
    QStringLiteral("commentaire"),  QStringLiteral("codeMacrophyte"),
    QStringLiteral("actif"),        QStringLiteral("codeTaxon")};
constexpr int COLONNE_REDACTEUR = 4;

// Why a row cannot be written; "" when it can.
QString refusLigne(const LigneImportTaxon &l)
{
    if (l.code.trimmed().isEmpty()) return QStringLiteral("le code est vide");
    const struct
    {
        const QString &texte;
        const char *colonne;
    } textes[] = {{l.code, "codeTaxon"},      {l.nomLatin, "nomLatin"},
                  {l.statut, "statut"},       {l.redacteur, "redacteur"},
                  {l.nomCommun, "nomCommun"}, {l.auteur, "auteur"},
                  {l.parent, "elementDe"},    {l.omnidia, "codeOmnidia"},
                  {l.museum, "refMuseum"},    {l.macrophytes, "codeMacrophyte"}};
    const QStringList cellules = l.textes();
    for (int i = 0; i < cellules.size(); ++i)
        if (const QString refus = refusTexteImporte(cellules[i], entetesImportTaxons().value(i));
            !refus.isEmpty())
            return refus;
    for (const auto &t : textes)
        if (const int n = tailleTexte(u"TAXONS", QString::fromLatin1(t.colonne));
            n > 0 && t.texte.trimmed().size() > n)
            return QStringLiteral("« %1 » dépasse %2 caractères").arg(t.texte.trimmed()).arg(n);
    for (const QString *d : {&l.dateCreation, &l.dateMiseAJour})
        if (!d->trimmed().isEmpty() && !lireDate(d->trimmed()).isValid())
            return QStringLiteral("la date « %1 » n'est pas correcte").arg(*d);
    for (const QString *n : {&l.niveau, &l.theme})
        if (!n->trimmed().isEmpty() && !estNombre(n->trimmed()))
            return QStringLiteral("« %1 » n'est pas un nombre").arg(*n);
    return {};
}

QVariant texteOuNul(const QString &t)
{
    return t.trimmed().isEmpty() ? QVariant() : QVariant(t.trimmed());
}
QVariant nombreOuNul(const QString &t)
{
    return enNombre(t.trimmed(), true).variant();
}
QVariant dateOuNul(const QString &t)
{
    const QDateTime d = lireDate(t.trimmed());
    return d.isValid() ? QVariant(QDateTime(d.date(), QTime(0, 0))) : QVariant();
}

// Each code as the file writes it, to the code as stored: a code kept with blanks around it by
// another program is still updated, and by its stored value.
QHash<QString, QString> codesEnregistres()
{
    QHash<QString, QString> existants;
    const Tableau t =
        bd().extraire(QStringLiteral("SELECT codeTaxon FROM TAXONS WHERE codeTaxon IS NOT NULL"));
    for (int i = 0; i < t.nbLignes(); ++i) {
        const QString code = t.texte(i, QStringLiteral("codeTaxon"));
        existants.insert(code.trimmed(), code);
    }
    return existants;
}

// One integration run. The rows are first checked in file order, the user deciding at each
// refused one; only then are they written in one transaction, under the table's write lock,
// after the stored codes are read again: another import running meanwhile cannot make this one
// add a taxon twice.
class IntegrationTaxons
{
  public:
    IntegrationTaxons(const FichierTaxons &fichier, ModeImportTaxons mode, bool activer,
                      Progression &progression, const DecisionsImportTaxons &decisions)
        : m_fichier(fichier), m_mode(mode), m_activer(activer), m_progression(progression),
          m_decisions(decisions)
    {
    }

    BilanImportTaxons executer()
    {
        if (!autoriserModificationReferentiels()) {
            m_bilan.interrompu = true;
            return m_bilan;
        }
        m_progression.message(QStringLiteral("Intégration taxons"));
        m_progression.message(QStringLiteral("Fichier : ") +
                              QFileInfo(m_fichier.chemin).fileName());
        verifierLignes(codesEnregistres());
        // Stopped on a refused row: nothing is written yet, the rows before it may still be.
        if (m_bilan.interrompu && m_decisions.annulerTout && m_decisions.annulerTout()) {
            m_bilan.defait = true;
            return m_bilan;
        }
        if (!ecrire()) return m_bilan;
        if (m_activer) m_bilan.activesUtilises = activerTaxonsUtilises(m_progression);
        return m_bilan;
    }

  private:
    struct Ecriture
    {
        qsizetype ligne; // of the file
        QString code;
        QVector<QVariant> valeurs; // COLONNES_ECRITES but actif and codeTaxon
    };

    qsizetype ligneFichier(qsizetype n) const
    {
        const qsizetype l = m_fichier.lignes[n].ligneFichier;
        return l > 0 ? l : n + 1;
    }

    void refuser(qsizetype ligne, const QString &code, const QString &raison)
    {
        m_bilan.erreurs << QStringLiteral("Ligne %1 (%2) : %3")
                               .arg(ligne)
                               .arg(QString(code).replace(QChar(u'\0'), u'?'), raison);
    }

    // Rows refused, ignored or kept; the user decides at each refused row whether to go on.
    void verifierLignes(const QHash<QString, QString> &existants)
    {
        const QHash<QString, QString> themes = libellesListe(CHAMP_THEME);
        m_progression.message(QStringLiteral("Importation des données"));
        for (qsizetype n = 0; n < m_fichier.lignes.size(); ++n) {
            const LigneImportTaxon &l = m_fichier.lignes[n];
            const QString code = l.code.trimmed();
            if (!existants.contains(code) && m_mode == ModeImportTaxons::MiseAJour &&
                !code.isEmpty()) {
                ++m_bilan.ignores;
                continue;
            }
            if (const QString refus = refusLigne(l); !refus.isEmpty()) {
                ++m_bilan.rejetes;
                refuser(ligneFichier(n), code, refus);
                if (!m_decisions.continuer ||
                    !m_decisions.continuer(l.textes().join(QStringLiteral(" ; ")))) {
                    m_bilan.interrompu = true;
                    break;
                }
                continue;
            }
            m_retenues.append({ligneFichier(n), code, valeurs(l)});
            noterTheme(l, themes);
        }
    }

    static QVector<QVariant> valeurs(const LigneImportTaxon &l)
    {
        return {texteOuNul(l.nomLatin),     texteOuNul(l.statut),     dateOuNul(l.dateCreation),
                dateOuNul(l.dateMiseAJour), texteOuNul(l.redacteur),  texteOuNul(l.nomCommun),
                texteOuNul(l.auteur),       nombreOuNul(l.niveau),    nombreOuNul(l.theme),
                texteOuNul(l.parent),       texteOuNul(l.omnidia),    texteOuNul(l.museum),
                texteOuNul(l.commentaire),  texteOuNul(l.macrophytes)};
    }

    // A theme the code list does not know yet, with the file's label when it gives one.
    void noterTheme(const LigneImportTaxon &l, const QHash<QString, QString> &themes)
    {
        const Nombre theme = enNombre(l.theme.trimmed(), true);
        if (!theme.estNombre()) return;
        const QString cle = texteValeur(theme.valeur);
        if (!themes.contains(cle) && m_themes.value(cle).isEmpty())
            m_themes.insert(cle, l.libelleTheme.trimmed());
    }

    // The kept rows split by what is stored now: updates, and new taxa (one row per code, its
    // later rows completing it).
    void classer(const QHash<QString, QString> &existants)
    {
        QHash<QString, qsizetype> ajoutParCode;
        for (const Ecriture &e : std::as_const(m_retenues)) {
            QVector<QVariant> v = e.valeurs;
            if (existants.contains(e.code)) {
                v << (m_activer ? QVariant(QStringLiteral("1")) : QVariant())
                  << existants.value(e.code);
                m_misesAJour.append({e.ligne, e.code, v});
            } else if (m_mode == ModeImportTaxons::MiseAJour) {
                ++m_bilan.ignores; // deleted by another workstation since the check
            } else if (const auto it = ajoutParCode.constFind(e.code);
                       it != ajoutParCode.constEnd()) {
                QVector<QVariant> &deja = m_ajouts[*it].valeurs;
                for (int c = 0; c < v.size(); ++c)
                    if (!v[c].isNull()) deja[c] = v[c];
            } else {
                if (v[COLONNE_REDACTEUR].isNull()) v[COLONNE_REDACTEUR] = REDACTEUR_IMPORT;
                v << (m_activer ? QStringLiteral("1") : QStringLiteral("0")) << e.code;
                ajoutParCode.insert(e.code, m_ajouts.size());
                m_ajouts.append({e.ligne, e.code, v});
            }
        }
    }

    // False when the transaction cannot go on: a failure that is not the row's own (a full
    // disk, a file held by another program, a lost connection).
    bool echecLigne(const Ecriture &e, const QString &erreur)
    {
        ++m_bilan.rejetes;
        refuser(e.ligne, e.code, raisonMoteur(erreur));
        return !erreurFatale(erreur);
    }

    bool progresser()
    {
        if (++m_faits % 500 == 0) {
            m_progression.position(m_faits, m_aEcrire);
            m_annule = m_annule || m_progression.annule();
        }
        return !m_annule;
    }

    // An empty cell of the file leaves the stored value: a file without the calculator codes
    // does not erase them.
    bool ecrireMisesAJour()
    {
        QStringList affectations;
        for (const QString &c : COLONNES_ECRITES.mid(0, COLONNES_ECRITES.size() - 1))
            affectations << c + QStringLiteral("=coalesce(?, ") + c + u')';
        InstructionPreparee maj = bd().preparer(QStringLiteral("UPDATE TAXONS SET ") +
                                                affectations.join(QStringLiteral(", ")) +
                                                QStringLiteral(" WHERE codeTaxon=?"));
        for (const Ecriture &e : std::as_const(m_misesAJour)) {
            if (!progresser()) return true;
            if (maj.executer(e.valeurs))
                ++m_bilan.modifies;
            else if (!echecLigne(e, maj.erreur()))
                return false;
        }
        return true;
    }

    bool ecrireAjouts()
    {
        if (m_ajouts.isEmpty() || m_annule) return true;
        InsertionMassive insertion(QStringLiteral("TAXONS"), COLONNES_ECRITES);
        if (!insertion.estValide()) {
            m_bilan.erreurs << raisonMoteur(insertion.erreur());
            return false;
        }
        qsizetype envoyees = 0;
        for (const Ecriture &e : std::as_const(m_ajouts)) {
            if (!progresser()) break;
            insertion.ajouter(e.valeurs);
            ++envoyees;
        }
        insertion.terminer();
        qsizetype refusees = 0;
        for (const InsertionMassive::ErreurLigne &err : insertion.erreurs()) {
            const qsizetype i = qsizetype(err.numero) - 1;
            if (i < 0 || i >= m_ajouts.size()) continue;
            ++refusees;
            if (!echecLigne(m_ajouts[i], err.message)) return false;
        }
        m_bilan.ajoutes = int(envoyees - refusees);
        return true;
    }

    void ajouterThemes()
    {
        InstructionPreparee theme = bd().preparer(
            QStringLiteral("INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES (?, ?, ?)"));
        for (auto it = m_themes.constBegin(); it != m_themes.constEnd(); ++it) {
            const QString libelle =
                it.value().isEmpty() ? QStringLiteral("Thème ") + it.key() : it.value();
            if (theme.executer({CHAMP_THEME, it.key().toInt(), libelle}))
                ++m_bilan.themesAjoutes;
            else
                m_bilan.erreurs
                    << QStringLiteral("Thème %1 : %2").arg(it.key(), raisonMoteur(theme.erreur()));
        }
    }

    // Nothing of this run stays: the counts say so.
    bool defaire(Transaction &transaction, const QString &raison = {})
    {
        transaction.annuler();
        if (!raison.isEmpty()) m_bilan.erreurs << raison;
        m_bilan.defait = true;
        m_bilan.ajoutes = m_bilan.modifies = m_bilan.themesAjoutes = 0;
        return false;
    }

    bool ecrire()
    {
        Transaction transaction;
        if (!transaction.estOuverte() || !bd().verrouiller(QStringLiteral("TAXONS")))
            return defaire(transaction, rienEnregistre(bd().derniereErreur()));
        classer(codesEnregistres());
        m_aEcrire = m_misesAJour.size() + m_ajouts.size();
        if (!ecrireMisesAJour() || !ecrireAjouts())
            return defaire(transaction, QStringLiteral("Rien n'a été enregistré."));
        if (m_annule) {
            m_bilan.interrompu = true;
            if (m_decisions.annulerTout && m_decisions.annulerTout()) return defaire(transaction);
        }
        ajouterThemes();
        if (!transaction.valider())
            return defaire(transaction, rienEnregistre(bd().derniereErreur()));
        m_progression.position(m_aEcrire, m_aEcrire);
        return true;
    }

    const FichierTaxons &m_fichier;
    const ModeImportTaxons m_mode;
    const bool m_activer;
    Progression &m_progression;
    const DecisionsImportTaxons &m_decisions;
    BilanImportTaxons m_bilan;
    QVector<Ecriture> m_retenues, m_misesAJour, m_ajouts;
    QHash<QString, QString> m_themes;
    qsizetype m_faits = 0;
    qsizetype m_aEcrire = 0;
    bool m_annule = false;
};

} // namespace

BilanImportTaxons integrerTaxons(const FichierTaxons &fichier, ModeImportTaxons mode, bool activer,
                                 Progression &progression, const DecisionsImportTaxons &decisions)
{
    return IntegrationTaxons(fichier, mode, activer, progression, decisions).executer();
}

} // namespace vyk
