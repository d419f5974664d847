#include "import/LectureSandre.h"

#include "db/Journal.h"
#include "db/Progression.h"
#include "referentials/LectureXml.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

namespace vyk {

const NoeudXml *NoeudXml::enfant(QStringView n) const
{
    for (const NoeudXml &e : enfants)
        if (e.estNomme(n)) return &e;
    return nullptr;
}

const NoeudXml *NoeudXml::chemin(std::initializer_list<QStringView> noms) const
{
    const NoeudXml *n = this;
    for (QStringView nom : noms)
        if (!(n = n->enfant(nom))) return nullptr;
    return n;
}

const NoeudXml *NoeudXml::descendant(QStringView n) const
{
    for (const NoeudXml &e : enfants) {
        if (e.estNomme(n)) return &e;
        if (const NoeudXml *d = e.descendant(n)) return d;
    }
    return nullptr;
}

QString NoeudXml::valeur(std::initializer_list<QStringView> noms) const
{
    const NoeudXml *n = chemin(noms);
    if (!n) return {};
    n->lu = true;
    return n->texte;
}

QVector<const NoeudXml *> NoeudXml::enfantsNommes(QStringView n) const
{
    QVector<const NoeudXml *> trouves;
    for (const NoeudXml &e : enfants)
        if (e.estNomme(n)) trouves.append(&e);
    return trouves;
}

void NoeudXml::marquerLu() const
{
    lu = true;
    for (const NoeudXml &e : enfants)
        e.marquerLu();
}

void ElementsIgnores::compterNonLus(const NoeudXml &unite)
{
    QVector<const QString *> chemin{&unite.nom};
    for (const NoeudXml &e : unite.enfants)
        compter(e, chemin);
}

// The path is only written out for an element left aside: most elements are read.
void ElementsIgnores::compter(const NoeudXml &n, QVector<const QString *> &chemin)
{
    chemin.append(&n.nom);
    if (!n.lu && !n.texte.isEmpty()) {
        QString texte;
        for (const QString *nom : std::as_const(chemin))
            texte += (texte.isEmpty() ? QString() : QStringLiteral("/")) + *nom;
        ++m_comptes[texte];
    }
    for (const NoeudXml &e : n.enfants)
        compter(e, chemin);
    chemin.removeLast();
}

QString ElementsIgnores::texte() const
{
    if (m_comptes.isEmpty()) return {};
    QStringList parties;
    for (auto it = m_comptes.cbegin(); it != m_comptes.cend(); ++it)
        parties.append(it.key() + QStringLiteral(" (") + QString::number(it.value()) +
                       QLatin1Char(')'));
    return QStringLiteral("Éléments non repris : ") + parties.join(QStringLiteral(", ")) +
           QLatin1Char('.');
}

void ElementsIgnores::journaliser(const QString &chemin) const
{
    if (!m_comptes.isEmpty())
        ecrireJournal(QStringLiteral("Import SANDRE : éléments non repris"),
                      QFileInfo(chemin).fileName() + QStringLiteral(" : ") + texte(),
                      JournalApplication);
}

QString messageChargementImpossible(const QString &chemin)
{
    return QStringLiteral("Impossible de charger le fichier ") + chemin +
           QStringLiteral(". Vérifier le format du fichier.");
}

namespace {

// The pass itself: the open elements outside units in `pile`, those of the unit being built
// in `arbre` (pointers stay valid: children are only ever appended to the deepest open one).
class Passe
{
  public:
    Passe(QXmlStreamReader &xml, const ParcoursSandre &p) : m_xml(xml), m_p(p) {}

    void debut()
    {
        const QStringView nom = m_xml.name();
        if (!m_arbre.isEmpty()) {
            NoeudXml &parent = *m_arbre.last();
            parent.enfants.append(NoeudXml{nomPartage(nom), {}, schema(), {}, m_xml.lineNumber()});
            m_arbre.append(&parent.enfants.last());
        } else if (m_p.estUnite && m_p.estUnite(nom, m_pile)) {
            m_racine = NoeudXml{nom.toString(), {}, schema(), {}, m_xml.lineNumber()};
            m_arbre.append(&m_racine);
        } else {
            if (!m_feuille.isEmpty()) m_feuille.last() = false;
            if (m_p.debut) m_p.debut(nom, m_pile);
            m_pile.append(nom.toString());
            m_feuille.append(true);
            m_texte.clear();
        }
    }

    void texte()
    {
        // Indentation between elements carries nothing: every value is trimmed.
        if (m_xml.isWhitespace()) return;
        QString *cible = nullptr;
        if (!m_arbre.isEmpty())
            cible = &m_arbre.last()->texte;
        else if (!m_feuille.isEmpty() && m_feuille.last())
            cible = &m_texte;
        if (!cible) return;
        if (cible->isEmpty())
            *cible = m_xml.text().toString();
        else
            cible->append(m_xml.text());
    }

    void fin()
    {
        if (!m_arbre.isEmpty()) {
            NoeudXml *n = m_arbre.takeLast();
            n->texte = n->texte.trimmed();
            if (m_arbre.isEmpty() && m_p.unite) m_p.unite(m_racine, m_pile);
            return;
        }
        if (m_pile.isEmpty()) return;
        const QString nom = m_pile.takeLast();
        if (m_feuille.takeLast() && m_p.feuille) m_p.feuille(nom, m_texte.trimmed(), m_pile);
        if (m_p.fin) m_p.fin(nom, m_pile);
    }

    qsizetype profondeur() const { return m_pile.size() + m_arbre.size(); }

  private:
    // A message uses a few dozen names: each is allocated once and shared by every element.
    QString nomPartage(QStringView nom)
    {
        // Elements come back in the order first met: the name after the last one usually fits.
        const qsizetype suivant = m_dernierNom + 1;
        if (suivant < m_noms.size() && m_noms[suivant] == nom)
            return m_noms[m_dernierNom = suivant];
        for (qsizetype i = 0; i < m_noms.size(); ++i)
            if (m_noms[i] == nom) return m_noms[m_dernierNom = i];
        m_noms.append(nom.toString());
        m_dernierNom = m_noms.size() - 1;
        return m_noms.last();
    }

    QString schema() const
    {
        const QXmlStreamAttributes attributs = m_xml.attributes();
        for (const QXmlStreamAttribute &a : attributs)
            if (a.name().compare(QLatin1String("schemeAgencyID"), Qt::CaseInsensitive) == 0 ||
                a.name().compare(QLatin1String("schemeID"), Qt::CaseInsensitive) == 0)
                return a.value().trimmed().toString();
        return {};
    }

    QXmlStreamReader &m_xml;
    const ParcoursSandre &m_p;
    QStringList m_pile;
    QVector<bool> m_feuille;
    QString m_texte;
    QVector<NoeudXml *> m_arbre;
    NoeudXml m_racine;
    QStringList m_noms;
    qsizetype m_dernierNom = -1;
};

} // namespace

bool parcourirSandre(const QString &chemin, const ParcoursSandre &parcours, QString &erreur,
                     Progression *progression)
{
    erreur.clear();
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) {
        erreur = messageChargementImpossible(chemin);
        return false;
    }
    QXmlStreamReader xml(&f);
    Passe passe(xml, parcours);
    long long jetons = 0;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            if (verifierProfondeurXml(xml, passe.profondeur() + 1)) passe.debut();
            break;
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
            passe.texte();
            break;
        case QXmlStreamReader::EndElement:
            passe.fin();
            break;
        default:
            break;
        }
        if (progression && (++jetons & 0xFFF) == 0) {
            progression->position(f.pos(), f.size());
            if (progression->annule()) return false;
        }
    }
    if (xml.hasError()) {
        erreur = messageChargementImpossible(chemin) + QLatin1Char('\n') +
                 messageXmlInvalide(chemin, xml);
        return false;
    }
    return true;
}

QString dateSandre(const QString &date)
{
    const QString d = date.trimmed();
    if (d.size() < 10 || d.at(4) != QLatin1Char('-')) return d;
    return d.mid(8, 2) + QLatin1Char('/') + d.mid(5, 2) + QLatin1Char('/') + d.left(4);
}

QString heureSandre(const QString &heure)
{
    const QString h = heure.trimmed();
    static const auto chiffres = [](QStringView t) {
        return t.size() == 2 && t.at(0).isDigit() && t.at(1).isDigit();
    };
    if (h.size() < 5 || h.at(2) != QLatin1Char(':') || !chiffres(QStringView(h).left(2)) ||
        !chiffres(QStringView(h).mid(3, 2)))
        return {};
    if (h.size() >= 8 && h.at(5) == QLatin1Char(':') && chiffres(QStringView(h).mid(6, 2)))
        return h.left(8);
    return h.left(5) + QStringLiteral(":00");
}

CodeDesignation separerCodeDesignation(const QString &cle)
{
    const qsizetype barre = cle.indexOf(QLatin1Char('/'));
    if (barre < 0) return {cle.trimmed(), {}};
    return {cle.left(barre).trimmed(), cle.mid(barre + 1).trimmed()};
}

} // namespace vyk
