#include "demandes/MessageComLabo.h"

#include "app/Options.h"
#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "db/InstructionPreparee.h"
#include "db/Outils.h"
#include "db/Sql.h"
#include "demandes/ContenuComLabo.h"
#include "demandes/Messagerie.h"
#include "xml/ControleXml.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace vyk {

namespace {

// The request's date fields, read once.
struct DatesDemande
{
    QDate demande, debut, fin;
};

QDate dateSaisie(const QString &texte)
{
    const QDateTime d = lireDate(texte.trimmed());
    return d.isValid() && d.time() == QTime(0, 0) ? d.date() : QDate();
}

DatesDemande datesDemande(const FicheDemande &f)
{
    return {dateSaisie(f.texte(DemDate)), dateSaisie(f.texte(DemDebut)),
            dateSaisie(f.texte(DemFin))};
}

QString iso(const QDate &d)
{
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}

bool avecPrelevements(const QString &type)
{
    return type == QLatin1String("1") || type == QLatin1String("3");
}

bool avecGroupes(const QString &type)
{
    return type == QLatin1String("2") || type == QLatin1String("3");
}

// The organisations of the request: issuer, laboratory, sampler, payer.
struct Organismes
{
    OrganismeComLabo emetteur, labo, preleveur, payeur;
};

Organismes lireOrganismes(const FicheDemande &f)
{
    const QStringList codes = {f.texte(DemEmetteur), f.texte(DemPrestataire), f.texte(DemPreleveur),
                               f.texte(DemPayeur)};
    const QHash<QString, OrganismeComLabo> o = lireOrganismesComLabo(codes);
    return {o.value(codes[0].trimmed()), o.value(codes[1].trimmed()), o.value(codes[2].trimmed()),
            o.value(codes[3].trimmed())};
}

// The checks that read the database: every organisation named in the file can be identified.
QString defautOrganismes(const Organismes &o)
{
    for (const OrganismeComLabo *org : {&o.emetteur, &o.labo, &o.preleveur, &o.payeur})
        if (org->estDefini() && !org->identifiable())
            return texteComLabo::SANS_CODE.arg(org->nom.isEmpty() ? org->code : org->nom);
    return {};
}

// One distinct organisation per block: issuer, then laboratory, sampler and payer when they
// differ from those before.
QVector<const OrganismeComLabo *> organismesDistincts(const Organismes &o)
{
    QVector<const OrganismeComLabo *> r = {&o.emetteur};
    for (const OrganismeComLabo *org : {&o.labo, &o.preleveur, &o.payeur}) {
        if (!org->estDefini()) continue;
        bool deja = false;
        for (const OrganismeComLabo *vu : std::as_const(r))
            deja = deja || vu->code == org->code;
        if (!deja) r << org;
    }
    return r;
}

// Everything the document needs besides the form.
struct DonneesComLabo
{
    Organismes organismes;
    QHash<int, StationComLabo> stations;
    QHash<QString, QStringList> parametres, fractions, unites;
    QString libelleSupport;
    QString codeGroupes, libelleGroupes;
    QStringList groupes; // distinct places, in the rows' order
};

QStringList colonne(const QVector<QStringList> &lignes, int c)
{
    QStringList valeurs;
    for (const QStringList &l : lignes)
        if (const QString v = l.value(c).trimmed(); !v.isEmpty() && !valeurs.contains(v))
            valeurs << v;
    return valeurs;
}

QString lireDonnees(const FicheDemande &f, const OptionsComLabo &o, DonneesComLabo &d)
{
    d.organismes = lireOrganismes(f);
    if (const QString m = defautOrganismes(d.organismes); !m.isEmpty()) return m;
    d.stations =
        lireStations(f.stations, identifiantPoint(f.texte(DemSupport)), o.idStationAvecDesignation);
    for (const int s : f.stations)
        if (!d.stations.contains(s)) return texteComLabo::STATION_ABSENTE.arg(s);
    d.parametres = lireLibelles(QStringLiteral("ANALYSES_PARAMETRES"), QStringLiteral("Nom"),
                                colonne(f.parametres, ParParametre));
    d.fractions = lireLibelles(QStringLiteral("ANALYSES_FRACTIONS"), QStringLiteral("Nom"),
                               colonne(f.parametres, ParFraction));
    d.unites = lireLibelles(QStringLiteral("ANALYSES_UNITES"), QStringLiteral("Nom, Symbole"),
                            colonne(f.parametres, ParUnite));
    d.libelleSupport = lireLibelles(QStringLiteral("ANALYSES_SUPPORTS"), QStringLiteral("Nom"),
                                    {f.texte(DemSupport)})
                           .value(f.texte(DemSupport))
                           .value(0);
    const QString liste = f.texte(DemListeParametres);
    d.codeGroupes = liste.isEmpty() ? f.texte(DemLibelle) : liste;
    d.libelleGroupes = f.texte(DemLibelle);
    if (!liste.isEmpty()) {
        const QVariant nom = bd().valeur(QStringLiteral("SELECT Nom FROM "
                                                        "ANALYSES_PARAMETRES_SELECTIONS_TITRE "
                                                        "WHERE TypeListe=0 AND Code=") +
                                         sqlTexte(liste));
        if (!nom.toString().trimmed().isEmpty()) d.libelleGroupes = nom.toString();
    }
    d.groupes = colonne(f.parametres, ParLieu);
    return {};
}

void ecrireEntete(EcritureComLabo &e, const QString &fichier, const OptionsComLabo &o,
                  const Organismes &org)
{
    e.ligne(0, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    e.ligne(0, racineComLabo().toUtf8());
    e.ligne(2, "<Scenario>");
    e.element(3, "CodeScenario", QStringLiteral("COM_LABO"));
    e.element(3, "VersionScenario", QStringLiteral("1"));
    e.element(3, "NomScenario",
              QStringLiteral("Echanges informatisés entre Laboratoires et Commanditaires"));
    e.element(3, "DateCreationFichier", iso(o.aujourdhui));
    e.element(3, "ReferenceFichierEnvoi", fichier);
    e.blocCode(3, "Emetteur", org.emetteur);
    e.blocCode(3, "Destinataire", org.labo);
    e.ligne(1, "</Scenario>");
    for (const OrganismeComLabo *i : organismesDistincts(org)) {
        e.ligne(1, "<Intervenant>");
        e.codeIntervenant(*i);
        e.element(3, "NomIntervenant", QString(i->nom).replace(u'"', u' '));
        e.ligne(1, "</Intervenant>");
    }
}

void ecrireCoordonnees(EcritureComLabo &e, int retrait, const CoordonneesComLabo &c,
                       QByteArrayView x, QByteArrayView y, QByteArrayView projection)
{
    if (c.estVide()) return;
    e.element(retrait, x, c.x);
    e.element(retrait, y, c.y);
    e.element(retrait, projection, c.projection);
}

void ecrireStation(EcritureComLabo &e, const StationComLabo &s, const QString &point)
{
    e.ligne(1, "<StationPrelevement>");
    e.elementSchema(3, "CdStationPrelevement", s.schema, s.identifiant);
    e.element(3, "LbStationPrelevement", s.libelle);
    ecrireCoordonnees(e, 3, s.coordonnees, "CoordXStationPrelevement", "CoordYStationPrelevement",
                      "ProjectStationPrelevement");
    if (s.avecPoint) {
        e.ligne(3, "<LocalPrelevement>");
        e.elementSchema(4, "CdLocalPrelevement", s.schema, point);
        e.element(4, "LbLocalPrelevement", s.nomPoint);
        ecrireCoordonnees(e, 4, s.coordonneesPoint, "CoordXLocalPrelevement",
                          "CoordYLocalPrelevement", "ProjLocalPrelevement");
        e.ligne(3, "</LocalPrelevement>");
    }
    e.ligne(1, "</StationPrelevement>");
}

void ecrireAnalyse(EcritureComLabo &e, const QStringList &l, const DonneesComLabo &d)
{
    const QString parametre = l.value(ParParametre).trimmed();
    const QString fraction = l.value(ParFraction).trimmed();
    const QString unite = l.value(ParUnite).trimmed();
    e.ligne(3, "<Analyse>");
    // 1 in situ, 2 in the laboratory.
    e.element(4, "InsituAna",
              l.value(ParInsitu).trimmed() == QLatin1String("1") ? QStringLiteral("1")
                                                                 : QStringLiteral("2"));
    e.ligne(4, "<Parametre>");
    e.element(5, "CdParametre", parametre);
    e.element(5, "NomParametre", d.parametres.value(parametre).value(0));
    e.ligne(4, "</Parametre>");
    e.ligne(4, "<FractionAnalysee>");
    e.element(5, "CdFractionAnalysee", fraction);
    e.element(5, "LbFractionAnalysee", d.fractions.value(fraction).value(0));
    e.ligne(4, "</FractionAnalysee>");
    e.ligne(4, "<UniteReference>");
    e.element(5, "CdUniteReference", unite);
    e.element(5, "LbUniteReference", d.unites.value(unite).value(0));
    e.element(5, "SymUniteReference", d.unites.value(unite).value(1));
    e.ligne(4, "</UniteReference>");
    e.ligne(3, "</Analyse>");
}

QString codeGroupe(const DonneesComLabo &d, const QString &groupe)
{
    return d.codeGroupes + u'_' + groupe;
}

void ecrireGroupes(EcritureComLabo &e, const FicheDemande &f, const DonneesComLabo &d)
{
    for (const QString &g : d.groupes) {
        e.ligne(1, "<GroupeParametres>");
        e.element(3, "CdGroupeParametres", codeGroupe(d, g));
        e.element(3, "LbGroupeParametres", d.libelleGroupes);
        for (const QStringList &l : f.parametres)
            if (l.value(ParLieu).trimmed() == g) ecrireAnalyse(e, l, d);
        e.ligne(1, "</GroupeParametres>");
    }
}

void ecrirePrelevement(EcritureComLabo &e, const FicheDemande &f, const DonneesComLabo &d, int rang,
                       const DatesDemande &dates)
{
    const StationComLabo &s = d.stations[f.stations[rang]];
    const OrganismeComLabo &emetteur = d.organismes.emetteur;
    const QString debut = iso(dates.debut);
    const qint64 jours = dates.debut.daysTo(dates.fin);
    e.ligne(4, "<Prelevement>");
    e.elementSchema(7, "CdPrelevement", emetteur.siret.isEmpty() ? emetteur.sandre : emetteur.siret,
                    s.identifiant + u'_' + debut + u'_' + QString::number(rang + 1));
    e.element(7, "DatePrel", debut);
    e.element(7, "DelaiPrel", QString::number(jours == 0 ? 0 : jours + 1));
    e.ligne(7, "<StationPrelevement>");
    e.elementSchema(8, "CdStationPrelevement", s.schema, s.identifiant);
    e.ligne(7, "</StationPrelevement>");
    if (s.avecPoint) {
        e.ligne(7, "<LocalPrelevement>");
        e.elementSchema(8, "CdLocalPrelevement", s.schema, identifiantPoint(f.texte(DemSupport)));
        e.ligne(7, "</LocalPrelevement>");
    }
    e.ligne(7, "<Support>");
    e.element(8, "CdSupport", f.texte(DemSupport));
    e.element(8, "LbSupport", d.libelleSupport);
    e.ligne(7, "</Support>");
    e.blocCode(7, "Preleveur", d.organismes.preleveur);
    e.ligne(7, "<Echantillon>");
    for (const QString &g : d.groupes) {
        e.ligne(8, "<GroupeParametres>");
        e.element(9, "CdGroupeParametres", codeGroupe(d, g));
        e.ligne(8, "</GroupeParametres>");
    }
    e.blocCode(8, "Laboratoire", d.organismes.labo);
    e.ligne(7, "</Echantillon>");
    e.ligne(4, "</Prelevement>");
}

void ecrireDemande(EcritureComLabo &e, const FicheDemande &f, const DonneesComLabo &d,
                   const OptionsComLabo &o)
{
    const DatesDemande dates = datesDemande(f);
    e.ligne(3, "<Demande>");
    e.element(4, "CdDemandeCommanditaire", f.texte(DemLibelle));
    e.blocCode(4, "Commanditaire", d.organismes.emetteur);
    e.blocCode(4, "Prestataire", d.organismes.labo);
    e.element(4, "TypeDemande", f.texte(DemType));
    e.element(4, "ContexteCodification", f.texte(DemContexte));
    e.element(4, "DateDemande", iso(o.aujourdhui));
    e.element(4, "DateDebutApplicationDemande", iso(dates.debut));
    e.element(4, "DateFinApplicationDemande", iso(dates.fin));
    if (!f.texte(DemReferenceMarche).isEmpty())
        e.element(4, "ReferenceMarche", f.texte(DemReferenceMarche));
    if (!f.texte(DemCommentaire).isEmpty())
        e.element(4, "CommentairesCommanditaire", f.texte(DemCommentaire));
    if (d.organismes.payeur.estDefini()) e.blocCode(4, "Payeur", d.organismes.payeur);
    e.blocCode(4, "DestinataireRsAna", d.organismes.emetteur);
    if (avecPrelevements(f.texte(DemType)))
        for (int i = 0; i < f.stations.size(); ++i)
            ecrirePrelevement(e, f, d, i, dates);
    e.ligne(3, "</Demande>");
}

// The document in UTF-8, or empty with the reason in *erreur.
QByteArray composer(const FicheDemande &f, const OptionsComLabo &o, QString *erreur)
{
    DonneesComLabo d;
    if (const QString m = lireDonnees(f, o, d); !m.isEmpty()) {
        if (erreur) *erreur = m;
        return {};
    }
    EcritureComLabo e;
    e.reserver(2000 + qsizetype(f.stations.size()) * 1500 + qsizetype(f.parametres.size()) * 600);
    ecrireEntete(e, nomFichierDemande(f.texte(DemLibelle)), o, d.organismes);
    for (const int s : f.stations)
        ecrireStation(e, d.stations[s], identifiantPoint(f.texte(DemSupport)));
    if (avecGroupes(f.texte(DemType))) ecrireGroupes(e, f, d);
    ecrireDemande(e, f, d, o);
    e.ligne(0, "</COM_LABO>");
    return e.octets();
}

bool ecrireFichier(const QString &chemin, const QByteArray &octets, QString &erreur)
{
    QSaveFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly) || fichier.write(octets) != octets.size() ||
        !fichier.commit()) {
        erreur = fichier.errorString();
        return false;
    }
    return true;
}

bool ajouterHistorique(int code, const QString &fichier, const OptionsComLabo &o)
{
    InstructionPreparee ajout = bd().preparer(
        QStringLiteral("INSERT INTO QUALITOMETRES_DEMANDES_HISTORIQUES (codeDemande, nomFichier, "
                       "dateGeneration, heureGeneration) VALUES (?, ?, ?, ?)"));
    return ajout.executer({code, fichier, QDateTime(o.aujourdhui, QTime(0, 0)),
                           QDateTime(JOUR_DES_HEURES, o.maintenant)});
}

} // namespace

QString verifierGeneration(const FicheDemande &f)
{
    namespace t = texteComLabo;
    const DatesDemande dates = datesDemande(f);
    const QString type = f.texte(DemType);
    if (f.texte(DemLibelle).isEmpty()) return t::NOM_ABSENT;
    if (!dates.demande.isValid()) return t::DATE_DEMANDE;
    // An end before the start would give a negative delay.
    if (!dates.debut.isValid() || !dates.fin.isValid() || dates.fin < dates.debut)
        return t::DATES_RELANCE;
    if (!QStringList{"1", "2", "3"}.contains(type)) return t::TYPE_ABSENT;
    if (f.texte(DemPrestataire).isEmpty()) return t::LABO_ABSENT;
    if (f.texte(DemEmetteur).isEmpty()) return t::EMETTEUR_ABSENT;
    if (f.texte(DemSupport).isEmpty()) return t::SUPPORT_ABSENT;
    if (f.stations.isEmpty()) return t::AUCUNE_STATION;
    if (f.parametres.isEmpty()) return t::AUCUN_PARAMETRE;
    for (const QStringList &l : f.parametres)
        for (const int c : {ParParametre, ParUnite, ParLieu, ParFraction})
            if (l.value(c).trimmed().isEmpty()) return texteDemandes::PARAMETRES_INCOMPLETS;
    if (avecPrelevements(type) && f.texte(DemPreleveur).isEmpty()) return t::PRELEVEUR_ABSENT;
    if (type == QLatin1String("3") && f.texte(DemPreleveur) != f.texte(DemPrestataire))
        return t::MIXTE;
    return {};
}

QString nomFichierDemande(const QString &libelle)
{
    QString nom;
    for (const QChar c : libelle.trimmed())
        nom += (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c)) ? u'_' : c;
    // Leading dots would make the name "." or "..", or hide the file.
    for (qsizetype i = 0; i < nom.size() && nom[i] == u'.'; ++i)
        nom[i] = u'_';
    return nom + QStringLiteral(".xml");
}

OptionsComLabo optionsComLaboReglages()
{
    OptionsComLabo o;
    o.dossier = lireRegistre(reglage::RepertoireDemandesXML);
    o.idStationAvecDesignation = reglageActif(reglage::IdStationAvecDesignation);
    return o;
}

QByteArray contenuComLabo(const FicheDemande &fiche, const OptionsComLabo &options)
{
    return composer(fiche, options, nullptr);
}

QString defautXml(const QByteArray &document)
{
    return defautXmlOctets(document);
}

ResultatComLabo genererComLabo(const FicheDemande &fiche, const OptionsComLabo &options)
{
    ResultatComLabo r;
    if (const QString m = verifierGeneration(fiche); !m.isEmpty()) {
        r.compteRendu = echec(m);
        return r;
    }
    const QDir dossier(options.dossier.isEmpty() ? QDir::currentPath() : options.dossier);
    if (!dossier.exists()) {
        r.compteRendu =
            echec(texteComLabo::DOSSIER_ABSENT.arg(QDir::toNativeSeparators(options.dossier)));
        return r;
    }
    const QString fichier = nomFichierDemande(fiche.texte(DemLibelle));
    r.chemin = dossier.absoluteFilePath(fichier);
    QString erreur;
    const QByteArray document = composer(fiche, options, &erreur);
    if (document.isEmpty()) {
        r.compteRendu = echec(erreur);
        return r;
    }
    if (const QString m = defautXmlOctets(document); !m.isEmpty()) {
        r.compteRendu = echec(texteComLabo::MAL_FORME.arg(m));
        return r;
    }
    if (!ecrireFichier(r.chemin, document, erreur)) {
        r.compteRendu =
            echec(texteComLabo::ECRITURE.arg(QDir::toNativeSeparators(r.chemin), erreur));
        return r;
    }
    if (fiche.code > 0 && !ajouterHistorique(fiche.code, fichier, options)) {
        r.compteRendu = reussite(texteComLabo::HISTORIQUE.arg(bd().derniereErreur()));
        return r;
    }
    // The laboratory is named by its own code (not by its SANDRE code).
    r.courriel = bd().valeur(QStringLiteral("SELECT email FROM INTERVENANTS WHERE "
                                            "cstr(CodeIntervenant)=") +
                             sqlTexte(fiche.texte(DemPrestataire)))
                     .toString()
                     .trimmed();
    r.compteRendu = reussite(texteComLabo::GENERE);
    return r;
}

CompteRendu envoyerComLabo(const ResultatComLabo &resultat, const FicheDemande &fiche,
                           Messagerie &messagerie)
{
    if (!resultat.compteRendu.ok) return resultat.compteRendu;
    if (resultat.courriel.isEmpty()) return resultat.compteRendu;
    if (!messagerie.composer(resultat.courriel, fiche.texte(DemLibelle), resultat.chemin))
        return reussite(texteComLabo::GENERE + u'\n' + texteComLabo::MESSAGERIE);
    return reussite();
}

} // namespace vyk
