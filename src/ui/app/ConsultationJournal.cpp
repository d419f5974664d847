#include "ui/app/ConsultationJournal.h"

#include "db/Journal.h"
#include "db/Messages.h"
#include "db/Outils.h"
#include "db/Tableau.h"
#include "monitoring/ListeStationsQualite.h"
#include "ui/widgets/CadreEcran.h"
#include "ui/widgets/GrilleDonnees.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vyk {

namespace {

const QStringList COLONNES = {QStringLiteral("dateEvt"),    QStringLiteral("niveau"),
                              QStringLiteral("Titre"),      QStringLiteral("utilisateur"),
                              QStringLiteral("ip"),         QStringLiteral("projet"),
                              QStringLiteral("description")};
const QStringList TITRES = {QStringLiteral("Date"),  QStringLiteral("Niveau"),
                            QStringLiteral("Titre"), QStringLiteral("Utilisateur"),
                            QStringLiteral("Poste"), QStringLiteral("Module"),
                            QStringLiteral("Détail")};

} // namespace

ConsultationJournal::ConsultationJournal(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ConsultationJournal"));
    setWindowTitle(QStringLiteral("Journal de la base de données"));
    resize(980, 560);
    DtpDepuis = new QDateEdit(QDate::currentDate().addDays(-30), this);
    DtpDepuis->setObjectName(QStringLiteral("DtpDepuis"));
    DtpDepuis->setCalendarPopup(true);
    DtpDepuis->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    TxtFiltre = new QLineEdit(this);
    TxtFiltre->setObjectName(QStringLiteral("TxtFiltre"));
    TxtFiltre->setPlaceholderText(QStringLiteral("Filtrer (texte d'une colonne)"));
    TxtFiltre->setClearButtonEnabled(true);
    CmdActualiser = new QPushButton(QStringLiteral("Actualiser"), this);
    CmdActualiser->setObjectName(QStringLiteral("CmdActualiser"));
    CmdFermer = new QPushButton(QStringLiteral("Fermer"), this);
    CmdFermer->setObjectName(QStringLiteral("CmdFermer"));
    SprJournal = new GrilleDonnees(this);
    SprJournal->setObjectName(QStringLiteral("SprJournal"));
    LblCompte = new QLabel(this);
    LblCompte->setObjectName(QStringLiteral("LblCompte"));

    auto *haut = new QHBoxLayout;
    haut->addWidget(new QLabel(QStringLiteral("Depuis le"), this));
    haut->addWidget(DtpDepuis);
    haut->addWidget(CmdActualiser);
    haut->addSpacing(16);
    haut->addWidget(TxtFiltre, 1);
    auto *bas = new QHBoxLayout;
    bas->addWidget(LblCompte, 1);
    bas->addWidget(CmdFermer);
    auto *principal = new QVBoxLayout(this);
    principal->addLayout(haut);
    principal->addWidget(SprJournal, 1);
    principal->addLayout(bas);

    connect(CmdActualiser, &QPushButton::clicked, this, &ConsultationJournal::charger);
    connect(DtpDepuis, &QDateEdit::dateChanged, this, &ConsultationJournal::charger);
    connect(TxtFiltre, &QLineEdit::textChanged, this, &ConsultationJournal::filtrer);
    connect(CmdFermer, &QPushButton::clicked, this, [this] { fermerEcran(this); });
    charger();
}

void ConsultationJournal::charger()
{
    Tableau t;
    m_lignes.clear();
    if (!lireJournal(COLONNES, QDateTime(DtpDepuis->date(), QTime(0, 0)), true, t))
        afficherMessage(GENRE_ERREUR, QStringLiteral("Le journal n'a pas pu être lu."));
    for (int l = 0; l < t.nbLignes(); ++l) {
        QStringList ligne{texteDate(t.valeur(l, COLONNES.first()).toDateTime(), true)};
        for (qsizetype c = 1; c < COLONNES.size(); ++c)
            ligne << texteValeur(t.valeur(l, COLONNES[c])).trimmed();
        m_lignes << ligne;
    }
    filtrer();
}

void ConsultationJournal::filtrer()
{
    QVector<QStringList> affichees;
    for (const QStringList &ligne : std::as_const(m_lignes))
        if (ligneCorrespond(ligne, TxtFiltre->text())) affichees << ligne;
    SprJournal->remplir(TITRES, affichees);
    LblCompte->setText(
        QStringLiteral("%1 entrée(s) sur %2").arg(affichees.size()).arg(m_lignes.size()));
}

} // namespace vyk
