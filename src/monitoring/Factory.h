#pragma once

// The one place where the importers' records are made. Each operation takes the values of one
// record in the order of its members (monitoring/ObjetsImport.h) and returns the new record;
// values left out at the end keep their "not given" state. Nothing is read, checked or converted
// here: the readers pass values already converted, the writer integrates the records.

#include "monitoring/ObjetsImport.h"

#include <utility>

namespace vyk {

class Factory
{
    template <typename T, typename... V> static T faire(V &&...v)
    {
        return T{std::forward<V>(v)...};
    }

  public:
    // clang-format off
    template <typename... V> static TaxonDenombre GetTaxonDenombre(V &&...v) { return faire<TaxonDenombre>(std::forward<V>(v)...); }
    template <typename... V> static Analyse GetAnalyse(V &&...v) { return faire<Analyse>(std::forward<V>(v)...); }
    template <typename... V> static Prelevement GetPrelevement(V &&...v) { return faire<Prelevement>(std::forward<V>(v)...); }
    template <typename... V> static Chronique GetChronique(V &&...v) { return faire<Chronique>(std::forward<V>(v)...); }
    template <typename... V> static PointEau GetPointEau(V &&...v) { return faire<PointEau>(std::forward<V>(v)...); }
    template <typename... V> static PointPrelevement getPointPrelevement(V &&...v) { return faire<PointPrelevement>(std::forward<V>(v)...); }
    template <typename... V> static Piezometre GetPiezometre(V &&...v) { return faire<Piezometre>(std::forward<V>(v)...); }
    template <typename... V> static Evenement GetEvenement(V &&...v) { return faire<Evenement>(std::forward<V>(v)...); }
    template <typename... V> static Coordonnee GetCoordonnee(V &&...v) { return faire<Coordonnee>(std::forward<V>(v)...); }
    template <typename... V> static EntiteHydro GetEntiteHydro(V &&...v) { return faire<EntiteHydro>(std::forward<V>(v)...); }
    template <typename... V> static MasseEau GetMasseEau(V &&...v) { return faire<MasseEau>(std::forward<V>(v)...); }
    template <typename... V> static Proprietaire GetProprietaire(V &&...v) { return faire<Proprietaire>(std::forward<V>(v)...); }
    template <typename... V> static RefAltimetrique GetRefAltimetrique(V &&...v) { return faire<RefAltimetrique>(std::forward<V>(v)...); }
    template <typename... V> static Repere GetRepere(V &&...v) { return faire<Repere>(std::forward<V>(v)...); }
    template <typename... V> static InformationsAEP GetInformationsAEP(V &&...v) { return faire<InformationsAEP>(std::forward<V>(v)...); }
    template <typename... V> static GestionOrganisme GetGestionOrganisme(V &&...v) { return faire<GestionOrganisme>(std::forward<V>(v)...); }
    template <typename... V> static GestionReseau GetGestionReseau(V &&...v) { return faire<GestionReseau>(std::forward<V>(v)...); }
    template <typename... V> static Intervenant GetIntervenant(V &&...v) { return faire<Intervenant>(std::forward<V>(v)...); }
    template <typename... V> static Reseau GetReseau(V &&...v) { return faire<Reseau>(std::forward<V>(v)...); }
    template <typename... V> static Commune GetCommune(V &&...v) { return faire<Commune>(std::forward<V>(v)...); }
    template <typename... V> static Aquifere GetAquifere(V &&...v) { return faire<Aquifere>(std::forward<V>(v)...); }
    template <typename... V> static BassinVersant GetBassinVersant(V &&...v) { return faire<BassinVersant>(std::forward<V>(v)...); }
    template <typename... V> static ModeMesure GetModeMesure(V &&...v) { return faire<ModeMesure>(std::forward<V>(v)...); }
    template <typename... V> static Erreur GetErreur(V &&...v) { return faire<Erreur>(std::forward<V>(v)...); }
    template <typename... V> static Trame GetTrame(V &&...v) { return faire<Trame>(std::forward<V>(v)...); }
    template <typename... V> static TrameChamp GetTrameChamp(V &&...v) { return faire<TrameChamp>(std::forward<V>(v)...); }
    template <typename... V> static Seuil GetSeuil(V &&...v) { return faire<Seuil>(std::forward<V>(v)...); }
    template <typename... V> static PrelevementQuantite GetPrelevementQuantite(V &&...v) { return faire<PrelevementQuantite>(std::forward<V>(v)...); }
    template <typename... V> static Prevision GetPrevision(V &&...v) { return faire<Prevision>(std::forward<V>(v)...); }
    // The records of hydrobiological operations.
    template <typename... V> static Operation GetOperation(V &&...v) { return faire<Operation>(std::forward<V>(v)...); }
    template <typename... V> static ResultatOperation GetResultatOperation(V &&...v) { return faire<ResultatOperation>(std::forward<V>(v)...); }
    template <typename... V> static MesureEnvironnement GetMesureEnvironnement(V &&...v) { return faire<MesureEnvironnement>(std::forward<V>(v)...); }
    template <typename... V> static PrelevementElementaire GetPrelevementElementaire(V &&...v) { return faire<PrelevementElementaire>(std::forward<V>(v)...); }
    // clang-format on

    // Creation date (text), purpose, HER level 1, hydrographic code, Strahler rank, catchment
    // area, French river type, canal flag.
    static InfosStation GetInfosStations(const QString &dateCreation, const QString &finalite,
                                         EntierLu HER1 = {}, const QString &codeHydro = {},
                                         EntierLu rangStrahler = {},
                                         NombreLu superficieBassinVersant = {},
                                         EntierLu typeFR = {}, EntierLu canal = {})
    {
        return InfosStation{dateCreation, finalite,     HER1,
                            codeHydro,    rangStrahler, superficieBassinVersant,
                            typeFR,       canal};
    }

    // The stored water point completed with what the file gives: every empty value of `stocke`
    // takes the value of `lu`; a value already there is never replaced.
    static PointEau commpletePointEau(PointEau stocke, const PointEau &lu);
};

} // namespace vyk
