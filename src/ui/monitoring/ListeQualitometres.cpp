#include "ui/monitoring/ListeQualitometres.h"

#include "db/BaseDonnees.h"
#include "db/Session.h"
#include "ui/widgets/CadreEcran.h"
#include "ui/widgets/Droits.h"
#include "ui/widgets/GrilleDonnees.h"
#include "users/Habilitations.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QVBoxLayout>

namespace vyk {

ListeQualitometres::ListeQualitometres(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ListeQualitometres"));
    setWindowTitle(texteListe::TITRE);
    resize(1200, 650);
    TxtFiltre = new QLineEdit(this);
    TxtFiltre->setObjectName(QStringLiteral("TxtFiltre"));
    TxtFiltre->setPlaceholderText(QStringLiteral("Filtrer (texte d'une colonne)"));
    TxtFiltre->setClearButtonEnabled(true);
    CboSelection = new QComboBox(this);
    CboSelection->setObjectName(QStringLiteral("CboSelection"));
    CboSelection->setMinimumWidth(200);
    SprListe = new GrilleDonnees(this);
    SprListe->setObjectName(QStringLiteral("SprListe"));
    LblCompte = new QLabel(this);
    LblCompte->setObjectName(QStringLiteral("LblCompte"));
    auto bouton = [this](const QString &texte, const char *nom) {
        auto *b = new QPushButton(texte, this);
        b->setObjectName(QString::fromLatin1(nom));
        return b;
    };
    CmdNouveau = bouton(QStringLiteral("Nouveau qualitomètre"), "CmdNouveau");
    CmdOuvrir = bouton(QStringLiteral("Ouvrir la fiche"), "CmdOuvrir");
    CmdActualiser = bouton(QStringLiteral("Actualiser"), "CmdActualiser");
    CmdFermer = bouton(QStringLiteral("Fermer"), "CmdFermer");
    appliquerDroit(CmdNouveau, droit::QUALITO_FICHE_MODIF);

    auto *haut = new QHBoxLayout;
    haut->addWidget(new QLabel(QStringLiteral("Filtre"), this));
    haut->addWidget(TxtFiltre, 1);
    haut->addWidget(new QLabel(QStringLiteral("Sélection"), this));
    haut->addWidget(CboSelection);
    auto *bas = new QHBoxLayout;
    bas->addWidget(LblCompte, 1);
    for (QPushButton *b : {CmdNouveau, CmdOuvrir, CmdActualiser, CmdFermer})
        bas->addWidget(b);
    auto *principal = new QVBoxLayout(this);
    principal->addLayout(haut);
    principal->addWidget(SprListe, 1);
    principal->addLayout(bas);

    connect(TxtFiltre, &QLineEdit::textChanged, this, &ListeQualitometres::filtrer);
    connect(CmdNouveau, &QPushButton::clicked, this, [this] { emit ouvrirFiche(QString()); });
    connect(CmdOuvrir, &QPushButton::clicked, this, &ListeQualitometres::ouvrirCourante);
    connect(CmdActualiser, &QPushButton::clicked, this, &ListeQualitometres::charger);
    connect(CmdFermer, &QPushButton::clicked, this, [this] { fermerEcran(this); });
    connect(SprListe, &QAbstractItemView::doubleClicked, this, &ListeQualitometres::ouvrirCourante);
    connect(SprListe->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [](int colonne, Qt::SortOrder) { ecrireColonneTri(colonne); });

    // The user's saved list settings, the default one chosen.
    CboSelection->addItem(QString(), QString());
    const QString defaut = listeSelectionDefaut(session().login);
    for (const ListeSelection &l : listesSelection(session().login))
        CboSelection->addItem(l.libelle + QStringLiteral(" [") + l.code + u']', l.code);
    CboSelection->setCurrentIndex(qMax(0, CboSelection->findData(defaut)));
    charger();
}

ListeQualitometres::~ListeQualitometres()
{
    if (bd().estOuverte() && session().estConnecte()) enregistrerDisposition();
}

void ListeQualitometres::charger()
{
    m_liste = chargerListeQualitometres();
    filtrer(TxtFiltre->text());
    if (!m_dispositionLue) {
        appliquerDisposition();
        m_dispositionLue = true;
    }
}

void ListeQualitometres::filtrer(const QString &texte)
{
    m_affichees.clear();
    QVector<QStringList> lignes;
    for (int l = 0; l < m_liste.lignes.size(); ++l)
        if (ligneCorrespond(m_liste.lignes[l], texte)) {
            m_affichees << l;
            lignes << m_liste.lignes[l];
        }
    QVector<int> largeurs;
    for (int c = 0; c < SprListe->horizontalHeader()->count(); ++c)
        largeurs << SprListe->columnWidth(c);
    SprListe->remplir(m_liste.titres, lignes);
    if (m_dispositionLue && largeurs.size() == m_liste.titres.size())
        for (int c = 0; c < largeurs.size(); ++c)
            SprListe->setColumnWidth(c, largeurs[c]);
    LblCompte->setText(texteCompte());
}

QString ListeQualitometres::texteCompte() const
{
    return vyk::texteCompte(int(m_affichees.size()), int(m_liste.lignes.size()));
}

int ListeQualitometres::nbLignesAffichees() const
{
    return int(m_affichees.size());
}

QStringList ListeQualitometres::codesVisibles() const
{
    QStringList codes;
    const auto *tri = qobject_cast<const QSortFilterProxyModel *>(SprListe->model());
    for (int r = 0; tri && r < tri->rowCount(); ++r) {
        const int source = tri->mapToSource(tri->index(r, 0)).row();
        if (source >= 0 && source < m_affichees.size())
            codes << m_liste.codes.value(m_affichees[source]);
    }
    codes.removeAll(QString());
    return codes;
}

void ListeQualitometres::ouvrirCourante()
{
    const int ligne = SprListe->ligneCourante();
    if (ligne < 0 || ligne >= m_affichees.size()) return;
    const QString code = m_liste.codes.value(m_affichees[ligne]);
    if (!code.isEmpty()) emit ouvrirFiche(code);
}

void ListeQualitometres::appliquerDisposition()
{
    const QVector<double> largeurs = lireLargeursColonnes(session().login);
    for (int c = 0; c < largeurs.size() && c < SprListe->horizontalHeader()->count(); ++c) {
        if (largeurs[c] < 0) continue;
        SprListe->setColumnHidden(c, largeurs[c] == 0);
        if (largeurs[c] > 0) SprListe->setColumnWidth(c, int(largeurs[c]));
    }
    const int tri = lireColonneTri();
    if (tri >= 0 && tri < SprListe->horizontalHeader()->count())
        SprListe->sortByColumn(tri, Qt::AscendingOrder);
}

void ListeQualitometres::enregistrerDisposition()
{
    QVector<double> largeurs;
    for (int c = 0; c < SprListe->horizontalHeader()->count(); ++c)
        largeurs << (SprListe->isColumnHidden(c) ? 0 : SprListe->columnWidth(c));
    if (!largeurs.isEmpty()) enregistrerLargeursColonnes(session().login, largeurs);
}

} // namespace vyk
