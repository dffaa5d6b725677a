// The program's shared message and caption texts, used by several windows.
#pragma once

#include <QStringView>
#include <array>

namespace kibic::uNapisy {

inline constexpr QStringView Wersja = u"wersja ";
inline constexpr QStringView Kompilacja = u"kompilacja ";
inline constexpr QStringView TurniejeZyrta = u"Turnieje ZyRTa";
inline constexpr QStringView CzyBarometr = u"Czy to jest barometr (na dochodzenie lub duży Howell)?";
inline constexpr QStringView PierniczkoweBazy = u"Pierniczkowe bazy danych";
inline constexpr QStringView TurniejIndywidualny = u" (turniej indywidualny)";
inline constexpr QStringView Czuwam = u"czuwam ...";
inline constexpr QStringView SaProblemy = u"są problemy...";
inline constexpr QStringView PracujeSie = u"Pracuje się ...";
inline constexpr QStringView IstniejeNadpisac = u" istnieje.\nNadpisać?";
inline constexpr QStringView Kpl = u"Kpl.";
inline constexpr QStringView ToNieJestWzorzec = u"To nie jest wzorzec dla tego turnieju";
inline constexpr QStringView TutajBaza = u"Tutaj baza=";
inline constexpr QStringView StolowJest = u", stołów jest ";
inline constexpr QStringView WzorSektora = u"Wzór sektora nietypowego";
inline constexpr QStringView SortelMusiBycZainstalowana = u"Sortel musi być zainstalowana!";
inline constexpr QStringView CzuwanieUruchomRecznie = u"Czuwanie uruchom teraz ręcznie.";
inline constexpr QStringView TurniejPar = u" (turniej par)";
inline constexpr QStringView BrakBazyZNazwiskami = u"Brak bazy z nazwiskami!";
inline constexpr QStringView SortelNieJestZainstalowana = u"SORTEL nie jest zainstalowana!";
inline constexpr QStringView BrakBazyBan = u"Brak bazy .BAN/.BAI lub\nSortel nie jest zainstalowana";

// The 21 texts in their fixed order.
inline constexpr std::array<QStringView, 21> All = { Wersja, Kompilacja, TurniejeZyrta, CzyBarometr, PierniczkoweBazy,
    TurniejIndywidualny, Czuwam, SaProblemy, PracujeSie, IstniejeNadpisac, Kpl, ToNieJestWzorzec, TutajBaza, StolowJest,
    WzorSektora, SortelMusiBycZainstalowana, CzuwanieUruchomRecznie, TurniejPar, BrakBazyZNazwiskami,
    SortelNieJestZainstalowana, BrakBazyBan };

} // namespace kibic::uNapisy
