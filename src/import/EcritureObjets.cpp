#include "import/EcritureObjets.h"

#include "db/BaseDonnees.h"
#include "db/Outils.h"
#include "db/Session.h"
#include "import/EcritureSandre.h"
#include "import/LectureSandre.h"
#include "monitoring/Qualitometre.h"
#include "schema/Catalogue.h"

#include <QDateTime>
#include <QLocale>

namespace vyk {

namespace {

const QString STATIONS = QStringLiteral("QUALITOMETRES");

QString texteNombre(const NombreLu &n)
{
    return n ? QString::number(*n, 'g', QLocale::FloatingPointShortest) : QString();
}

QString texteDate(const QDate &d)
{
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

// A station column and the record's value for it; a text column's empty string counts as empty
// when a stored value is completed.
struct ValeurStation
{
    const char *colonne;
    QVariant valeur;
    bool texte = false;
};

// The values the water point gives (what it does not give is left out), checked against the
// columns' sizes; refus receives the first that does not fit.
QVector<ValeurStation> valeursStation(const PointEau &p, QStringList &avertissements,
                                      QString &refus)
{
    QVector<ValeurStation> v;
    const auto texte = [&](const char *colonne, const QString &t) {
        if (t.isEmpty()) return;
        const int taille = tailleTexte(STATIONS, QString::fromLatin1(colonne));
        if (taille > 0 && t.size() > taille && refus.isEmpty())
            refus = QStringLiteral("la valeur « %1 » de %2 dépasse %3 caractères")
                        .arg(t, QString::fromLatin1(colonne))
                        .arg(taille);
        v.append({colonne, t, true});
    };
    const auto valeur = [&](const char *colonne, const QVariant &x) {
        if (!x.isNull()) v.append({colonne, x});
    };
    texte("Nom", p.nom);
    texte("typeStation", p.typeStation);
    valeur("X", valeurLue(p.coordonnee.x));
    valeur("Y", valeurLue(p.coordonnee.y));
    valeur("TypeProjection", valeurLue(p.coordonnee.projection));
    valeur("Altitude", valeurLue(p.altitude));
    // The station's commune is a number in the schema: "2A004" is kept out, not turned into
    // another commune.
    if (estNombre(p.codeCommune))
        valeur("CodeCommune", enNombre(p.codeCommune).variant());
    else if (!p.codeCommune.isEmpty())
        avertissements.append(QStringLiteral("Station %1 : la commune « %2 » n'est pas reprise, le "
                                             "code commune d'une station est numérique.")
                                  .arg(p.code, p.codeCommune));
    texte("Localisation", p.localisation);
    texte("Commentaires", p.commentaires);
    if (p.dateFermeture.isValid()) valeur("DateFermeture", QDateTime(p.dateFermeture, QTime(0, 0)));
    valeur("pk", valeurLue(p.pk));
    const InfosStation &i = p.infos;
    if (!i.dateCreation.isEmpty()) {
        const QDateTime d = lireDate(i.dateCreation);
        if (!d.isValid() && refus.isEmpty())
            refus =
                QStringLiteral("la date de création « %1 » n'est pas une date").arg(i.dateCreation);
        valeur("DateCreation", d);
    }
    texte("Finalite", i.finalite);
    valeur("her_niveau1", valeurLue(i.HER1));
    texte("code_hydro", i.codeHydro);
    valeur("rang_strahler", valeurLue(i.rangStrahler));
    valeur("BassinVersant_Superficie", valeurLue(i.superficieBassinVersant));
    valeur("type_fr", valeurLue(i.typeFR));
    if (i.canal) texte("canal", QString::number(*i.canal));
    return v;
}

bool majStation(qint64 id, const QVector<ValeurStation> &valeurs, QString &erreur)
{
    ValeursLigne v(STATIONS);
    for (const ValeurStation &x : valeurs)
        v.valeur(x.colonne, x.valeur);
    const QString login = session().login;
    v.valeur("loginmaj", login.isEmpty() ? QVariant() : QVariant(login));
    v.valeur("datemaj", QDateTime::currentDateTime());
    return v.mettreAJour({QStringLiteral("CodeQualitometre")}, {id}, erreur);
}

} // namespace

EcritureObjets::EcritureObjets(bool remplacer, qint64 execution)
    : m_remplacer(remplacer), m_execution(execution)
{
}

qint64 EcritureObjets::station(const QString &code)
{
    const QString c = separerCodeDesignation(code).code;
    if (const auto i = m_stations.constFind(c); i != m_stations.constEnd()) return *i;
    const auto stockee = trouverQualitometreParCode(c);
    if (!stockee) return -1;
    m_stations.insert(c, stockee->code);
    return stockee->code;
}

void EcritureObjets::oublierStation(const QString &code)
{
    const QString c = separerCodeDesignation(code).code;
    const qint64 id = m_stations.take(c);
    if (id <= 0) return;
    m_purgees.remove(id);
    const QString prefixe = QString::number(id) + u'|';
    m_operations.removeIf([&](const auto &i) { return i.key().startsWith(prefixe); });
    m_listes.removeIf([&](const QString &l) { return l.startsWith(prefixe); });
}

qint64 EcritureObjets::stationConnue(const QString &code, QString &erreur)
{
    const qint64 id = station(code);
    if (id < 0) erreur = QStringLiteral("la station « %1 » n'existe pas").arg(code);
    return id;
}

qint64 EcritureObjets::ecrirePointEau(const PointEau &p, QString &erreur)
{
    const CodeDesignation cd = separerCodeDesignation(p.code.trimmed());
    if (cd.code.isEmpty()) {
        erreur = QStringLiteral("le point d'eau n'a pas de code");
        return -1;
    }
    QString refus;
    const QVector<ValeurStation> valeurs = valeursStation(p, m_bilan.avertissements, refus);
    if (!refus.isEmpty()) {
        erreur = refus;
        return -1;
    }
    bd().verrouiller(STATIONS);
    qint64 id = station(cd.code);
    if (id < 0) {
        id = creerStationSandre(cd.code, cd.designation, {}, p.typeStation, erreur);
        if (id < 0) return -1;
        m_stations.insert(cd.code, id);
        m_purgees.insert(id); // nothing to purge in a new station
        m_bilan.stationsCreees.append(cd.code);
    } else if (m_remplacer && !m_purgees.contains(id)) {
        if (!purgerDonneesStation(id, cd.code, erreur)) return -1;
        m_purgees.insert(id);
        ++m_bilan.stationsPurgees;
    }
    if (!p.codeCommune.isEmpty() && !ecrireCommune({p.codeCommune, {}}, erreur)) return -1;
    QVector<ValeurStation> tout = valeurs;
    if (m_execution >= 0) tout.append({"jobExecutionId", double(m_execution)});
    return majStation(id, tout, erreur) ? id : -1;
}

bool EcritureObjets::commpletePointEau(const PointEau &p, QString &erreur)
{
    const qint64 id = stationConnue(p.code.trimmed(), erreur);
    if (id < 0) return false;
    QString refus;
    QStringList avertissements;
    const QVector<ValeurStation> valeurs = valeursStation(p, avertissements, refus);
    if (!refus.isEmpty()) {
        erreur = refus;
        return false;
    }
    m_bilan.avertissements += avertissements;
    for (const ValeurStation &v : valeurs) {
        const QString c = QString::fromLatin1(v.colonne);
        const QString vide =
            c + QStringLiteral(" IS NULL") +
            (v.texte ? QStringLiteral(" OR ") + c + QStringLiteral(" = ''") : QString());
        if (!executerLie(QStringLiteral("UPDATE QUALITOMETRES SET ") + c +
                             QStringLiteral(" = ? WHERE CodeQualitometre = ? AND (") + vide + u')',
                         {v.valeur, id}, erreur))
            return false;
    }
    ++m_bilan.stationsCompletees;
    return true;
}

bool EcritureObjets::ecrireCommune(const Commune &c, QString &erreur)
{
    const QString code = c.code.trimmed();
    if (code.isEmpty()) return true;
    if (!lireLie(QStringLiteral("SELECT CodeCommune FROM COMMUNES WHERE CodeCommune = ?"), {code})
             .isNull())
        return true;
    ValeursLigne v(QStringLiteral("COMMUNES"));
    v.texte("CodeCommune", code, QStringLiteral("code commune"));
    v.texte("Nom", c.nom.isEmpty() ? u'<' + code + u'>' : c.nom, QStringLiteral("nom commune"));
    erreur = v.erreur();
    if (!erreur.isEmpty() || !v.inserer(erreur)) return false;
    ++m_bilan.communesAjoutees;
    return true;
}

bool EcritureObjets::ecrireMasseEau(const MasseEau &m, QString &erreur)
{
    const qint64 id = stationConnue(m.codeStation, erreur);
    if (id < 0) return false;
    const QString me = resoudreMasseEau(m.code.trimmed(), m.libelle, erreur);
    if (me.isEmpty()) return false;
    if (!lireLie(QStringLiteral("SELECT Code_ME FROM LIEN_QUALITO_MASSE_EAU WHERE "
                                "CodeQualitometre = ? AND Code_ME = ?"),
                 {id, me})
             .isNull())
        return true;
    return executerLie(QStringLiteral("INSERT INTO LIEN_QUALITO_MASSE_EAU (CodeQualitometre, "
                                      "Code_ME) VALUES (?, ?)"),
                       {id, me}, erreur);
}

qint64 EcritureObjets::ecrireReseau(const Reseau &r, QString &erreur)
{
    const QString code = r.codeSandre.trimmed();
    if (code.isEmpty()) {
        erreur = QStringLiteral("le réseau n'a pas de code");
        return -1;
    }
    qint64 reseau = -1;
    const QString chercher = QStringLiteral("SELECT CodeReseau FROM RESEAUX WHERE CodeSandre = ?");
    if (const QVariant t = lireLie(chercher, {code}); !t.isNull()) {
        reseau = qint64(t.toDouble());
    } else {
        bd().verrouiller(QStringLiteral("RESEAUX"));
        const QVariant max = bd().valeur(QStringLiteral("SELECT Max(CodeReseau) FROM RESEAUX"));
        reseau = max.isNull() ? 1 : qint64(max.toDouble()) + 1;
        ValeursLigne v(QStringLiteral("RESEAUX"));
        v.valeur("CodeReseau", double(reseau));
        v.texte("CodeSandre", code, QStringLiteral("code du réseau"));
        v.texte("Libelle", r.libelle.isEmpty() ? u'<' + code + u'>' : r.libelle,
                QStringLiteral("libellé du réseau"));
        erreur = v.erreur();
        if (!erreur.isEmpty() || !v.inserer(erreur)) return -1;
        ++m_bilan.reseauxCrees;
    }
    if (r.codeStation.isEmpty()) return reseau;
    const qint64 id = stationConnue(r.codeStation, erreur);
    if (id < 0) return -1;
    const QVariant debut =
        r.dateDebut.isValid() ? QVariant(QDateTime(r.dateDebut, QTime(0, 0))) : QVariant();
    const QVariant fin =
        r.dateFin.isValid() ? QVariant(QDateTime(r.dateFin, QTime(0, 0))) : QVariant();
    // A network met twice keeps the last period given.
    if (!executerLie(QStringLiteral("DELETE FROM LIEN_QUALITO_RESEAUX WHERE CodeQualitometre = ? "
                                    "AND CodeReseau = ?"),
                     {id, double(reseau)}, erreur) ||
        !executerLie(QStringLiteral("INSERT INTO LIEN_QUALITO_RESEAUX (CodeQualitometre, "
                                    "CodeReseau, DateDebut, DateFin) VALUES (?, ?, ?, ?)"),
                     {id, double(reseau), debut, fin}, erreur))
        return -1;
    return reseau;
}

QStringList ligneAnalyse(const Analyse &a, const Prelevement *p)
{
    using C = ColonneImport;
    QStringList l;
    for (int i = 0; i < NB_COLONNES_IMPORT; ++i)
        l.append(QString());
    const auto mettre = [&](C c, const QString &v) { l[int(c)] = v; };
    // Organisation codes of the records are SANDRE codes.
    const auto intervenant = [&](C code, C origine, const QString &v) {
        mettre(code, v);
        if (!v.isEmpty()) mettre(origine, QStringLiteral("SANDRE"));
    };
    const ClePrelevement &k = a.prelevement;
    mettre(C::CodeStation, k.codeStation);
    QString date = texteDate(k.date);
    if (k.heure.isValid()) date += k.heure.toString(QStringLiteral(" HH:mm:ss"));
    mettre(C::DatePrelvt, date);
    mettre(C::NumeroAnalyse, a.numLabo);
    intervenant(C::CodeProducteur, C::OrigineInterv, a.codeProducteur);
    mettre(C::CodeParam, a.codeParametre);
    mettre(C::Resultat, texteNombre(a.resultat));
    mettre(C::CodeUnite, a.codeUnite);
    mettre(C::RemarqueAnalyse, a.codeRemarque);
    intervenant(C::CodeLabo, C::OrigineLabo, a.codeLabo);
    mettre(C::ReferenceLabo, a.referenceLabo);
    mettre(C::DateAnalyse, texteDate(a.dateAnalyse));
    mettre(C::LieuAnalyse, a.codeLieu);
    mettre(C::Difficulte, a.codeDifficulte);
    mettre(C::Qualification, a.codeQualification);
    mettre(C::CodeMethode, a.codeMethode);
    mettre(C::CodeFraction, a.codeFraction);
    mettre(C::CodeSupport, k.codeSupport);
    mettre(C::StatutMesure, a.statutMesure);
    mettre(C::CommentAnalyse, a.commentaireAnalyse);
    mettre(C::CommentResult, a.commentaireResultat);
    mettre(C::ReferenceEch, a.referenceEchantillon);
    mettre(C::LimiteQuantification, texteNombre(a.limiteQuantification));
    mettre(C::LimiteDetection, texteNombre(a.limiteDetection));
    mettre(C::AccreditationResultat, a.accreditation);
    mettre(C::IncertitudeAnalytique, texteNombre(a.incertitudeAnalytique));
    mettre(C::RendementExtraction, texteNombre(a.rendementExtraction));
    if (p) {
        intervenant(C::CodeProducteurEch, C::OrigineProducteurEch, p->codePreleveur);
        mettre(C::ProfDeb, texteNombre(p->profDebut));
        mettre(C::ProfFin, texteNombre(p->profFin));
        mettre(C::LocalisationPrecise, p->localisation);
        mettre(C::CommentaireOperation, p->commentaire);
    }
    return l;
}

namespace {

QString clePrelevement(const ClePrelevement &k)
{
    return k.codeStation + u'|' + k.date.toString(Qt::ISODate) + u'|' +
           (k.heure.isValid() ? k.heure.toString(Qt::ISODate) : QString()) + u'|' + k.codeSupport;
}

} // namespace

BilanAnalyses EcritureObjets::ecrireAnalyses(const QVector<Prelevement> &prelevements,
                                             const QVector<Analyse> &analyses,
                                             OptionsIntegration options, Progression &progression,
                                             const ReponsesIntegration &reponses)
{
    QHash<QString, const Prelevement *> parCle;
    for (const Prelevement &p : prelevements)
        parCle.insert(clePrelevement(p.cle), &p);
    QSet<QString> utilises;
    GrilleImport grille;
    for (int i = 0; i < analyses.size(); ++i) {
        const QString cle = clePrelevement(analyses[i].prelevement);
        utilises.insert(cle);
        grille.ajouterLigne(ligneAnalyse(analyses[i], parCle.value(cle)),
                            QStringLiteral("analyse %1").arg(i + 1));
    }
    for (const Prelevement &p : prelevements)
        if (!utilises.contains(clePrelevement(p.cle)))
            m_bilan.avertissements.append(
                QStringLiteral("Prélèvement sans analyse non repris : station %1 du %2")
                    .arg(p.cle.codeStation, texteDate(p.cle.date)));
    // Each station was purged at its water point: its analyses are added.
    options.remplacer = false;
    if (m_execution >= 0 && options.execution < 0) options.execution = m_execution;
    return integrerAnalyses(grille, options, progression, reponses);
}

} // namespace vyk
