// The program's shared message and caption texts, used by several windows.
#pragma once

#include <QString>
#include <array>

namespace kibic::uNapisy {

inline const QString Wersja = QStringLiteral("wersja ");
inline const QString Kompilacja = QStringLiteral("kompilacja ");
inline const QString TurniejeZyrta = QStringLiteral("Turnieje ZyRTa");
inline const QString CzyBarometr = QStringLiteral("Czy to jest barometr (na dochodzenie lub duży Howell)?");
inline const QString PierniczkoweBazy = QStringLiteral("Pierniczkowe bazy danych");
inline const QString TurniejIndywidualny = QStringLiteral(" (turniej indywidualny)");
inline const QString Czuwam = QStringLiteral("czuwam ...");
inline const QString SaProblemy = QStringLiteral("są problemy...");
inline const QString PracujeSie = QStringLiteral("Pracuje się ...");
inline const QString IstniejeNadpisac = QStringLiteral(" istnieje.\nNadpisać?");
inline const QString Kpl = QStringLiteral("Kpl.");
inline const QString ToNieJestWzorzec = QStringLiteral("To nie jest wzorzec dla tego turnieju");
inline const QString TutajBaza = QStringLiteral("Tutaj baza=");
inline const QString StolowJest = QStringLiteral(", stołów jest ");
inline const QString WzorSektora = QStringLiteral("Wzór sektora nietypowego");
inline const QString SortelMusiBycZainstalowana = QStringLiteral("Sortel musi być zainstalowana!");
inline const QString CzuwanieUruchomRecznie = QStringLiteral("Czuwanie uruchom teraz ręcznie.");
inline const QString TurniejPar = QStringLiteral(" (turniej par)");
inline const QString BrakBazyZNazwiskami = QStringLiteral("Brak bazy z nazwiskami!");
inline const QString SortelNieJestZainstalowana = QStringLiteral("SORTEL nie jest zainstalowana!");
inline const QString BrakBazyBan = QStringLiteral("Brak bazy .BAN/.BAI lub\nSortel nie jest zainstalowana");

// The 21 texts in their fixed order.
inline const std::array<const QString*, 21> All = {&Wersja, &Kompilacja, &TurniejeZyrta, &CzyBarometr,
    &PierniczkoweBazy, &TurniejIndywidualny, &Czuwam, &SaProblemy, &PracujeSie, &IstniejeNadpisac, &Kpl,
    &ToNieJestWzorzec, &TutajBaza, &StolowJest, &WzorSektora, &SortelMusiBycZainstalowana,
    &CzuwanieUruchomRecznie, &TurniejPar, &BrakBazyZNazwiskami, &SortelNieJestZainstalowana, &BrakBazyBan};

} // namespace kibic::uNapisy
