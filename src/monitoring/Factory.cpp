#include "monitoring/Factory.h"

namespace vyk {

namespace {

template <typename T> void completer(T &stocke, const T &lu)
{
    if (!stocke) stocke = lu;
}

void completer(QString &stocke, const QString &lu)
{
    if (stocke.isEmpty()) stocke = lu;
}

void completer(QDate &stocke, const QDate &lu)
{
    if (!stocke.isValid()) stocke = lu;
}

} // namespace

PointEau Factory::commpletePointEau(PointEau stocke, const PointEau &lu)
{
    completer(stocke.code, lu.code);
    completer(stocke.nom, lu.nom);
    completer(stocke.typeStation, lu.typeStation);
    completer(stocke.coordonnee.x, lu.coordonnee.x);
    completer(stocke.coordonnee.y, lu.coordonnee.y);
    completer(stocke.coordonnee.projection, lu.coordonnee.projection);
    completer(stocke.altitude, lu.altitude);
    completer(stocke.codeCommune, lu.codeCommune);
    completer(stocke.localisation, lu.localisation);
    completer(stocke.commentaires, lu.commentaires);
    completer(stocke.dateFermeture, lu.dateFermeture);
    completer(stocke.pk, lu.pk);
    InfosStation &i = stocke.infos;
    const InfosStation &l = lu.infos;
    completer(i.dateCreation, l.dateCreation);
    completer(i.finalite, l.finalite);
    completer(i.HER1, l.HER1);
    completer(i.codeHydro, l.codeHydro);
    completer(i.rangStrahler, l.rangStrahler);
    completer(i.superficieBassinVersant, l.superficieBassinVersant);
    completer(i.typeFR, l.typeFR);
    completer(i.canal, l.canal);
    return stocke;
}

} // namespace vyk
