// The settings table: every user-adjustable value of the converter, loaded from and saved to the
// per-user settings store (application "Konturo", sections "Param", "Farbe", "Window").
#pragma once

#include <cstdint>
#include <string>

namespace konturo {

class EinstellungenSpeicher;
class UiDienste;
struct Sitzung;

// The process-wide setting values. Fields start at the zero values of their globals; the table's
// defaults arrive through EinstellungenLaden (an empty store yields every default).
struct Einstellungen {
    // Param
    std::string Font;
    std::string Hoehe;
    std::string Stil;
    double Toleranz = 0;
    double KreisToleranz = 0;
    // Farbe (RGB values)
    std::int32_t HGF = 0;
    std::int32_t LF = 0;
    std::int32_t BF = 0;
    std::int32_t PF = 0;
    std::int32_t THF = 0;
    std::int32_t TVF = 0;
    std::int32_t DXFWarnFarbe = 0;
    std::int32_t ElementWarnFarbe = 0;
    // Param: frame
    std::uint8_t Rtyp = 0;
    double RRad = 0;
    double Rx = 0;
    double Ry = 0;
    std::string RVorlage;
    float Roff = 0;
    float RoffArbeit = 0; // the working copy of Roff loaded with it
    // Param: conversion, paths, options
    double SplineT = 0;
    double maxRadius = 0;
    std::string TInPath;
    std::string GInPath;
    std::string GOutPath;
    std::uint8_t WarnAusgabe = 0;
    std::uint8_t WarnDarstellung = 0;
    double WarnLaenge = 0;
    // Window (twips)
    std::int32_t SizeX = 0;
    std::int32_t SizeY = 0;
    std::int32_t PosX = 0;
    std::int32_t PosY = 0;
    std::int32_t TextSizeX = 0;
    std::int32_t TextSizeY = 0;
    std::int32_t TextPosX = 0;
    std::int32_t TextPosY = 0;
    // Param
    std::uint8_t Unterbrechung = 0;
    std::uint8_t Punkte = 0; // PunkteZeigen
    std::uint8_t LastFilter = 0;
    std::uint8_t Ausgabenfarbe = 0;
    std::uint8_t GespiegelteAusgabe = 0;
    std::uint8_t SingleLineModus = 0;
    // The address "Internet Update" downloads from (http://host[:port]/path); empty until set.
    std::string UpdateAdresse;
    // Economy fitting: 1 = lines and arcs across smooth outline joints, every point of the true
    // outline within MaxAbweichung (mm) of the result and the other way round.
    std::uint8_t SparModus = 0;
    double MaxAbweichung = 0;
    // Machine checks: the smallest arc radius and element length (mm) a machine takes, and the
    // decimals its controller keeps (0 = no limit); Reparieren = 1 repairs within MaxAbweichung.
    double MinRadius = 0;
    double MinLaenge = 0;
    std::uint8_t Nachkommastellen = 0;
    std::uint8_t Reparieren = 0;
};

// What EinstellungenLaden needs from its surroundings for the computed defaults.
struct EinstellungenUmgebung {
    std::string programmOrdner;                // default of TInPath, GInPath, GOutPath
    std::int32_t bildschirmBreite = 1920 * 15; // twips
    std::int32_t bildschirmHoehe = 1080 * 15;  // twips
};

// Reads every key in table order; a missing key gives its default. A stored value that is no
// number where one is expected, lies outside the key's range or is no usable text gives the
// key's default too, and the other keys are read as usual; language text 117 then names every
// such key with its stored value. Returns false when a stored value was not taken.
bool EinstellungenLaden(Sitzung& s, EinstellungenSpeicher& speicher,
                        const EinstellungenUmgebung& umgebung);
// Writes every key; on the first failure it stops with language text 118. False when it stopped.
bool EinstellungenSichern(Sitzung& s, EinstellungenSpeicher& speicher);

// Puts the table's defaults into the eight colour settings (section "Farbe"), the values a fresh
// settings store would give.
void FarbenZuruecksetzen(Einstellungen& e);

// Sets one setting from a text by its key (case-insensitive), as the loader would read it.
// False, with the reason in English in grund (when given), for an unknown key, a value that does
// not convert or one outside the key's range; the setting then keeps its value. Used by
// konturo-cli --set.
bool EinstellungSetzen(Einstellungen& e, const std::string& schluessel, const std::string& wert,
                       std::string* grund = nullptr);

// True when the number is within the range of the number setting schluessel (frame sizes and
// offsets, radii, tolerances, the curve step, window geometry, flags); the windows take no typed
// value outside it.
bool EinstellungImBereich(const std::string& schluessel, double wert);

} // namespace konturo
