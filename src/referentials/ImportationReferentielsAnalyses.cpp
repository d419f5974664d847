#include "referentials/ImportationReferentielsAnalyses.h"

#include "app/Csv.h"
#include "db/BaseDonnees.h"
#include "db/CleColonne.h"
#include "db/FichiersTexte.h"
#include "db/Journal.h"
#include "db/Lot.h"
#include "db/Outils.h"
#include "db/Progression.h"
#include "db/RaisonsMoteur.h"
#include "db/Sql.h"
#include "referentials/LectureXml.h"
#include "referentials/ModeleListeReference.h"
#include "referentials/ModeleReferentielAnalyses.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QXmlStreamReader>

namespace vyk {

namespace {

const QString CODE = QStringLiteral("Code");

// Element stems of each referential in the national files.
QStringList radicaux(Referentiel r)
{
    switch (r) {
    case Referentiel::Parametre:
        return {QStringLiteral("parametre")};
    case Referentiel::Unite:
        return {QStringLiteral("unitereference"), QStringLiteral("unite")};
    case Referentiel::Methode:
        return {QStringLiteral("methode")};
    case Referentiel::Fraction:
        return {QStringLiteral("fractionanalysee"), QStringLiteral("fraction")};
    case Referentiel::Support:
        return {QStringLiteral("support")};
    }
    return {};
}

// Lower-case element name -> column of the referential's table.
QHash<QString, QString> elements(Referentiel r)
{
    const DescriptionReferentiel &d = descriptionReferentiel(r);
    QHash<QString, QString> e;
    auto ajouter = [&](const QString &colonne, const QStringList &prefixes,
                       const QString &radical) {
        if (!d.champ(colonne)) return;
        for (const QString &p : prefixes)
            if (!e.contains(p + radical)) e.insert(p + radical, d.champ(colonne)->colonne);
    };
    for (const QString &s : radicaux(r)) {
        ajouter(CODE, {QStringLiteral("cd"), QStringLiteral("code")}, s);
        ajouter(QStringLiteral("Symbole"), {QStringLiteral("sym"), QStringLiteral("symbole")}, s);
        ajouter(QStringLiteral("Nom"),
                {QStringLiteral("nom"), QStringLiteral("lb"), QStringLiteral("libelle")}, s);
        ajouter(QStringLiteral("LibelleCourt"),
                {QStringLiteral("lbcourt"), QStringLiteral("libellecourt")}, s);
        ajouter(QStringLiteral("LibelleLong"),
                {QStringLiteral("lblong"), QStringLiteral("libellelong")}, s);
        ajouter(QStringLiteral("NomInternational"),
                {QStringLiteral("nomint"), QStringLiteral("lbint"),
                 QStringLiteral("nominternational"), QStringLiteral("libelleinternational")},
                s);
        ajouter(QStringLiteral("Statut"), {QStringLiteral("st"), QStringLiteral("statut")}, s);
        ajouter(QStringLiteral("DateCreation"),
                {QStringLiteral("datecre"), QStringLiteral("datecreation")}, s);
        ajouter(QStringLiteral("DateModification"),
                {QStringLiteral("datemaj"), QStringLiteral("datemodification")}, s);
        ajouter(QStringLiteral("Auteur"), {QStringLiteral("auteur")}, s);
        ajouter(QStringLiteral("Definition"), {QStringLiteral("def"), QStringLiteral("definition")},
                s);
        ajouter(QStringLiteral("Reference"), {QStringLiteral("ref"), QStringLiteral("references")},
                s);
        ajouter(
            QStringLiteral("Commentaires"),
            {QStringLiteral("com"), QStringLiteral("commentaire"), QStringLiteral("commentaires")},
            s);
        ajouter(QStringLiteral("Nature"), {QStringLiteral("nature"), QStringLiteral("cdnature")},
                s);
        ajouter(QStringLiteral("Type"), {QStringLiteral("type")}, s);
    }
    if (r == Referentiel::Parametre) {
        e.insert(QStringLiteral("parametrecalcule"), QStringLiteral("Calcule"));
        e.insert(QStringLiteral("cdcassubstancechimique"), QStringLiteral("codeCAS"));
        e.insert(QStringLiteral("codecassubstancechimique"), QStringLiteral("codeCAS"));
    }
    if (r == Referentiel::Fraction) {
        e.insert(QStringLiteral("cdsupport"), QStringLiteral("CodeSupport"));
        e.insert(QStringLiteral("codesupport"), QStringLiteral("CodeSupport"));
    }
    return e;
}

// Comparison key -> column, for the header of a CSV file: the table's columns, the list's
// headers and the form's labels, then the national element names, also spelt "Code du ...",
// "Nom de la ...".
QHash<QString, QString> colonnesCsv(Referentiel r)
{
    QHash<QString, QString> connues;
    for (const ChampReferentiel &c : descriptionReferentiel(r).champs)
        for (const QString &n : {c.colonne, c.entete, c.libelle})
            if (const QString k = cleColonne(n); !k.isEmpty() && !connues.contains(k))
                connues.insert(k, c.colonne);
    const QHash<QString, QString> noms = elements(r);
    for (const QString &radical : radicaux(r))
        for (auto it = noms.cbegin(); it != noms.cend(); ++it) {
            if (!it.key().endsWith(radical)) continue;
            const QString prefixe = it.key().left(it.key().size() - radical.size());
            for (const char *lien : {"", "du", "de", "dela", "del"})
                if (const QString k = prefixe + QLatin1String(lien) + radical; !connues.contains(k))
                    connues.insert(k, it.value());
        }
    for (auto it = noms.cbegin(); it != noms.cend(); ++it)
        if (!connues.contains(it.key())) connues.insert(it.key(), it.value());
    // A parameter's unit, as the national parameter extracts name it.
    if (r == Referentiel::Parametre)
        for (const char *n : {"cdunitereference", "codeunitereference", "cdunite", "codeunite"})
            connues.insert(QLatin1String(n), QStringLiteral("UniteReference1"));
    return connues;
}

QString exemplesNationaux(Referentiel r)
{
    switch (r) {
    case Referentiel::Parametre:
        return QStringLiteral(
            "CdParametre, NomParametre, StParametre, LbCourtParametre, LbLongParametre");
    case Referentiel::Unite:
        return QStringLiteral("CdUniteReference, SymUniteReference, LbUniteReference");
    case Referentiel::Methode:
        return QStringLiteral("CdMethode, NomMethode, StMethode");
    case Referentiel::Fraction:
        return QStringLiteral("CdFractionAnalysee, NomFractionAnalysee, CdSupport");
    case Referentiel::Support:
        return QStringLiteral("CdSupport, NomSupport, StSupport");
    }
    return {};
}

struct Cadre
{
    LigneReferentiel valeurs;
    bool aCode = false;
};

bool lireXml(QFile &f, const QString &nom, Referentiel r, FichierReferentielAnalyses &fichier,
             QString &erreur)
{
    const QHash<QString, QString> noms = elements(r);
    QXmlStreamReader xml(&f);
    QVector<Cadre> pile;
    while (!xml.atEnd()) {
        const auto jeton = xml.readNext();
        if (jeton == QXmlStreamReader::StartElement) {
            const QString colonne = noms.value(xml.name().toString().toLower());
            if (colonne.isEmpty()) {
                if (!verifierProfondeurXml(xml, pile.size() + 1)) break;
                pile.append(Cadre{});
                continue;
            }
            QString texte;
            if (!lireTexteElement(xml, int(pile.size()) + 1, texte)) break;
            texte = texte.trimmed();
            if (pile.isEmpty()) continue;
            Cadre &c = pile.last();
            if (colonne == CODE) {
                // A second code under the same element is another entry's: it stays with its own.
                if (c.aCode) continue;
                c.aCode = !texte.isEmpty();
            }
            if (!c.valeurs.contains(colonne)) c.valeurs.insert(colonne, texte);
        } else if (jeton == QXmlStreamReader::EndElement && !pile.isEmpty()) {
            Cadre cadre = pile.takeLast();
            if (cadre.aCode) {
                fichier.lignes.append(std::move(cadre.valeurs));
            } else if (!pile.isEmpty()) {
                // Fields of a child element (the support of a fraction) belong to the entry.
                for (auto it = cadre.valeurs.cbegin(); it != cadre.valeurs.cend(); ++it)
                    if (it.key() != CODE && !pile.last().valeurs.contains(it.key()))
                        pile.last().valeurs.insert(it.key(), it.value());
            }
        }
    }
    if (xml.hasError()) {
        erreur = messageXmlInvalide(nom, xml);
        fichier.lignes.clear();
        return false;
    }
    return true;
}

bool lireCsv(QFile &f, const QString &nom, Referentiel r, FichierReferentielAnalyses &fichier,
             QString &erreur)
{
    const DescriptionReferentiel &d = descriptionReferentiel(r);
    QString texte = decoderTexte(f.readAll());
    if (texte.startsWith(QChar(0xFEFF))) texte.remove(0, 1);
    // Records, not lines: a quoted cell (a definition) may hold line breaks.
    QVector<EnregistrementCsv> lignes;
    if (!lireCsv(texte, u';', lignes, erreur)) {
        erreur = QStringLiteral("Le fichier ") + nom + QStringLiteral(" : ") + erreur;
        return false;
    }
    while (!lignes.isEmpty() && enregistrementVide(lignes.first().champs))
        lignes.removeFirst();
    if (lignes.isEmpty()) return true;
    // Columns by name, list header, form label or national element name.
    const QHash<QString, QString> connues = colonnesCsv(r);
    QVector<QString> colonnes;
    for (const QString &entete : std::as_const(lignes.first().champs))
        colonnes << connues.value(cleColonne(entete));
    const bool nomme = colonnes.contains(QStringLiteral("Nom")) ||
                       (r == Referentiel::Unite && colonnes.contains(QStringLiteral("Symbole")));
    if (!colonnes.contains(CODE) || !nomme) {
        // Never read as something else: a taxa list given here would make entries without names.
        QStringList attendues;
        for (const ChampReferentiel &c : d.champs)
            attendues << c.colonne;
        erreur = QStringLiteral("Les colonnes du fichier ") + nom +
                 QStringLiteral(" ne sont pas celles d'une liste des ") + d.titre.toLower() +
                 QStringLiteral(" : il faut au moins le code et le nom. Colonnes attendues : ") +
                 attendues.join(QStringLiteral(", ")) +
                 QStringLiteral(" (ou les noms du référentiel national, tels ") +
                 exemplesNationaux(r) + QStringLiteral(").");
        return false;
    }
    for (qsizetype n = 1; n < lignes.size(); ++n) {
        const QStringList &champs = lignes[n].champs;
        LigneReferentiel ligne;
        for (qsizetype c = 0; c < champs.size() && c < colonnes.size(); ++c)
            if (!colonnes[c].isEmpty()) ligne.insert(colonnes[c], champs[c].trimmed());
        if (!ligne.value(CODE).isEmpty()) fichier.lignes.append(ligne);
    }
    return true;
}

QVariant dateLue(const QString &texte)
{
    const QString t = texte.trimmed();
    QDateTime d = lireDate(t);
    if (!d.isValid()) d = QDateTime::fromString(t, Qt::ISODateWithMs);
    if (!d.isValid() && t.size() > 10) d = lireDate(t.left(10));
    return d.isValid() ? QVariant(d) : QVariant();
}

// The stored value of a field read; null when the text says nothing usable.
QVariant valeurStockee(const ChampReferentiel &c, const QString &texte)
{
    const QString t = texte.trimmed();
    if (t.isEmpty()) return {};
    if (c.statut) {
        const int n = statutDepuisTexte(t);
        return n >= 0 ? QVariant(QString::number(n)) : QVariant(t.left(20));
    }
    switch (c.genre) {
    case NatureChamp::Date:
        return dateLue(t);
    case NatureChamp::OuiNon: {
        const QString b = t.toLower();
        return QVariant(b == QLatin1String("1") || b == QLatin1String("oui") ||
                                b == QLatin1String("true") || b == QLatin1String("o")
                            ? QStringLiteral("1")
                            : QStringLiteral("0"));
    }
    case NatureChamp::Memo:
        return QVariant(texte);
    default:
        break;
    }
    if (c.colonne == QLatin1String("Type")) {
        const QString b = t.toLower();
        if (b.startsWith(QLatin1String("quanti"))) return QStringLiteral("0");
        if (b.startsWith(QLatin1String("quali"))) return QStringLiteral("1");
    }
    return QVariant(t);
}

} // namespace

bool lireReferentielAnalyses(const QString &chemin, Referentiel referentiel,
                             FichierReferentielAnalyses &fichier, QString &erreur)
{
    fichier = {};
    fichier.referentiel = referentiel;
    fichier.chemin = chemin;
    const QString nom = QFileInfo(chemin).fileName();
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) {
        erreur = QStringLiteral("Impossible d'ouvrir le fichier ") + chemin + u'.';
        return false;
    }
    const QString extension = QFileInfo(chemin).suffix().toLower();
    const bool csv = extension == QLatin1String("csv") || extension == QLatin1String("txt");
    if (!(csv ? lireCsv(f, nom, referentiel, fichier, erreur)
              : lireXml(f, nom, referentiel, fichier, erreur)))
        return false;
    if (fichier.lignes.isEmpty()) {
        erreur = QStringLiteral("Le fichier ") + nom +
                 QStringLiteral(" ne contient aucun élément du référentiel des ") +
                 descriptionReferentiel(referentiel).titre.toLower() + u'.';
        return false;
    }
    return true;
}

QStringList colonnesLues(const FichierReferentielAnalyses &fichier)
{
    QSet<QString> presentes;
    for (const LigneReferentiel &l : fichier.lignes)
        for (auto it = l.cbegin(); it != l.cend(); ++it)
            presentes.insert(it.key());
    QStringList r;
    for (const ChampReferentiel &c : descriptionReferentiel(fichier.referentiel).champs)
        if (presentes.contains(c.colonne)) r << c.colonne;
    return r;
}

namespace {

// A row with a text no engine stores is refused whole, its field named.
QString refusTexteDuFichier(const DescriptionReferentiel &d, const LigneReferentiel &l)
{
    for (const ChampReferentiel &c : d.champs)
        if (const QString refus = refusTexteImporte(l.value(c.colonne), c.libelle);
            !refus.isEmpty())
            return refus;
    return {};
}

} // namespace

BilanReferentielAnalyses integrerReferentielAnalyses(const FichierReferentielAnalyses &fichier,
                                                     Progression &progression)
{
    BilanReferentielAnalyses bilan;
    if (!autoriserModificationReferentiels()) {
        bilan.annule = true;
        return bilan;
    }
    QString erreurMoteur;
    const DescriptionReferentiel &d = descriptionReferentiel(fichier.referentiel);
    {
        Lot lot;
        // The codes read next decide between adding and updating: no other workstation writes
        // the table meanwhile.
        bd().verrouiller(d.table);
        // Each code as the file writes it, to the code as stored: a code kept with blanks
        // around it by another program is still updated, and by its stored value.
        QHash<QString, QString> existants;
        const Tableau t = bd().extraire(QStringLiteral("SELECT Code FROM ") + d.table);
        for (int i = 0; i < t.nbLignes(); ++i) {
            const QString code = t.texte(i, QStringLiteral("Code"));
            existants.insert(code.trimmed(), code);
        }
        progression.message(QStringLiteral("Intégration du référentiel des ") + d.titre.toLower());
        const long long total = fichier.lignes.size();
        for (long long n = 0; n < total; ++n) {
            if (progression.annule()) {
                bilan.annule = true;
                break;
            }
            if (n % 100 == 0) progression.position(n, total);
            const LigneReferentiel &l = fichier.lignes[n];
            const QString code = l.value(CODE).trimmed();
            auto rejeter = [&](const QString &raison) {
                ++bilan.rejetes;
                bilan.erreurs << QStringLiteral("Code ") +
                                     QString(code).replace(QChar(u'\0'), u'?') +
                                     QStringLiteral(" : ") + raison;
            };
            if (const QString refus = refusTexteDuFichier(d, l); !refus.isEmpty()) {
                rejeter(refus);
                continue;
            }
            if (code.size() > 5) {
                rejeter(QStringLiteral("code trop long (5 caractères au plus)"));
                continue;
            }
            QStringList colonnes;
            QVector<QVariant> valeurs;
            QString tropLong;
            for (const ChampReferentiel &c : d.champs) {
                if (c.colonne == CODE || !l.contains(c.colonne)) continue;
                QVariant v = valeurStockee(c, l.value(c.colonne));
                if (v.isNull()) continue;
                if (c.taille > 0 && v.typeId() == QMetaType::QString &&
                    v.toString().size() > c.taille)
                    tropLong = c.libelle;
                colonnes << c.colonne;
                valeurs << v;
            }
            if (!tropLong.isEmpty()) {
                rejeter(QStringLiteral("le champ « ") + tropLong +
                        QStringLiteral(" » est trop long"));
                continue;
            }
            bool ok = true;
            if (existants.contains(code)) {
                if (!colonnes.isEmpty()) {
                    QStringList affectations;
                    for (const QString &c : std::as_const(colonnes))
                        affectations << c + QStringLiteral("=?");
                    valeurs << existants.value(code);
                    ok = bd().preparer(QStringLiteral("UPDATE ") + d.table +
                                       QStringLiteral(" SET ") +
                                       affectations.join(QStringLiteral(", ")) +
                                       QStringLiteral(" WHERE Code=?"))
                             .executer(valeurs);
                }
                if (ok) ++bilan.modifies;
            } else {
                colonnes.prepend(CODE);
                valeurs.prepend(code);
                QStringList marques;
                for (qsizetype i = 0; i < colonnes.size(); ++i)
                    marques << QStringLiteral("?");
                ok = bd().preparer(QStringLiteral("INSERT INTO ") + d.table + QStringLiteral(" (") +
                                   colonnes.join(QStringLiteral(", ")) +
                                   QStringLiteral(") VALUES (") +
                                   marques.join(QStringLiteral(", ")) + u')')
                         .executer(valeurs);
                if (ok) {
                    ++bilan.ajoutes;
                    existants.insert(code, code);
                }
            }
            if (!ok) rejeter(raisonMoteur(bd().derniereErreur()));
        }
        progression.position(total, total);
        if (!lot.terminer()) {
            erreurMoteur = bd().derniereErreur();
            bilan.echec = rienEnregistre(erreurMoteur);
            bilan.ajoutes = bilan.modifies = 0;
        }
    }
    QString detail = QFileInfo(fichier.chemin).fileName() + QStringLiteral(" (") + d.table +
                     QStringLiteral(") : ") + QString::number(bilan.ajoutes) +
                     QStringLiteral(" ajouté(s), ") + QString::number(bilan.modifies) +
                     QStringLiteral(" mis à jour, ") + QString::number(bilan.rejetes) +
                     QStringLiteral(" rejeté(s)");
    if (bilan.annule) detail += QStringLiteral(" ; interrompue par l'utilisateur");
    if (!bilan.echec.isEmpty())
        detail += QStringLiteral(" ; ") + bilan.echec + QStringLiteral(" (") + erreurMoteur + u')';
    if (!bilan.erreurs.isEmpty()) detail += u'\n' + bilan.erreurs.join(u'\n');
    journaliser(QStringLiteral("Intégration du référentiel"), detail);
    return bilan;
}

} // namespace vyk
