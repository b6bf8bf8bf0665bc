// The string table as data: id → UTF-8 text. Ids are fixed because records, prompts and
// dialogs refer to them; gaps in the numbering are ids that the module does not use.
#include "module/resources/strings.h"

#include <algorithm>
#include <iterator>

namespace {

// Kept sorted by id; LoadUiString relies on that for its binary search.
constexpr UiStringEntry kTable[] = {
    // Record keys and type tags.
    {1, "Wymiary"},
    {2, "ORV_ARMAVO"},
    {3, "GLOBAL_ORV_ARMAVO"},
    {4, "Pręt"},
    {5, "Opis"},
    {6, "OpisOdn"},
    {7, "Opis-Nr"},
    {8, "OpisOdn-Nr"},
    {9, "OpisOdn-Fi"},
    {10, "OpisOdn-LP"},
    {11, "OpisOdn-Dl"},
    // Keywords remembered as defaults by the rod-handling object.
    {13, "Rysuj_opis"},
    {14, "Wyrzuć"},
    {15, "Ilość"},
    {16, "Skróć"},
    {17, "Poziomy"},
    {18, "Wstaw_kopię"},
    {19, "Pręta(włącz/wyłącz)"},
    {20, "Tak"},
    // Point input and hooks.
    {21, "\nWskaż punkt, Odsuń <Wskaż punkt>:"},
    {22, "Odsuń"},
    {23, "\nWskaż punkt bazowy:"},
    {24, "\nWprowadź odsunięcie X"},
    {25, "\nWprowadź odsunięcie Y"},
    {26, "\nWskaż po której stronie ma znajdować się pierwszy hak:"},
    {27, "\nWskaż po której stronie ma znajdować się drugi hak:"},
    {28, "\nWskaż po której stronie ma znajdować się pierwszy hak pierwszego pręta:"},
    {29, "\nWskaż po której stronie ma znajdować się pierwszy hak drugiego pręta:"},
    {30, "\nWskaż po której stronie ma znajdować się drugi hak pierwszego pręta:"},
    {31, "\nWskaż po której stronie ma znajdować się drugi hak drugiego pręta:"},
    // Layers.
    {32, "Zbrojenie"},
    {33, "Zbrojenie główne"},
    // The edit command and its options.
    {34, "\nEdycja pręta"},
    {35,
     "Wyrzuć Edycja_długości Dziel Kopiuj Przesuń Usuń Zmień_średnicę/stal "
     "Teksty_wymiarów(wstaw/usuń) Opis zAmień_polilinię"},
    {36, "Dziel"},
    {37, "Edycja_długości"},
    {38, "Kopiuj"},
    {39, "Przesuń"},
    {40, "Usuń"},
    {41, "Zmień_średnicę/stal"},
    {42, "Teksty_wymiarów(wstaw/usuń)"},
    {43, "\nEdycja wymiarów pręta"},
    {44, "Skróć Przedłuż"},
    {45, "Przedłuż"},
    {46, "\nWybierz pręt do wyrzucenia:"},
    {47, "RzutPoziomy"},
    {48, "RzutPionowy"},
    {49, "Wymiary prętów"},
    {50, "\nNowe współrzędne:"},
    {51, "\nDługość skrócenia"},
    {52, "\nWybierz pręt do skrócenia:"},
    {53, "\nDługość wydłużenia"},
    {54, "\nWybierz pręt do wydłużenia:"},
    {55, "\nWybierz pręt do opisania:"},
    {56, "Opisy prętów"},
    {57, "\nWybierz pręt do podzielenia:"},
    {58, "\nWybierz punkt dzielenia, Odsuń <Wybierz punkt dzielenia>:"},
    {59, "\nWybierz pręt do usunięcia:"},
    {60,
     "Czy na pewno chcesz usunąć wybrany pręt, po jego usunięciu konieczne będzie "
     "przenumerowanie pozostałych pretów ?"},
    {61, "Czy na pewno chcesz usunąć wybrany pręt ?"},
    {62, "\nWybierz pręt do włączenia/wyłączenia wymiarowania:"},
    {63, "\nWybierz pręt do przesunięcia:"},
    {64, "\nKopiowanie pręta"},
    {65, "Wstaw_kopię Nowy_nr_pręta"},
    {67, "\nWybierz pręt do skopiowania:"},
    {68, "\nWybierz pręt do zmiany średnicy:"},
    {69, "Pręta(włącz/wyłącz) Na_odnośniku Tylko_numer_na_odnośniku"},
    {71, "\nWybierz punkt startowy odnośnika:"},
    {72, "\nWybierz drugi punkt odnośnika:"},
    {73, "\nWskaż kierunek opisu:"},
    // The steel schedule table.
    {74, "Tabela_stali_zbrojeniowej"},
    {75, "Średnica"},
    {76, "[mm]"},
    {77, "Długość"},
    {78, "[cm]"},
    {79, "[szt.]"},
    {80, "Długość całkowita [m]"},
    {81, "Długość ogółem [m]"},
    {82, "Masa jednostkowa [kg/m]"},
    {83, "Masa ogółem [kg]"},
    {84, "Masa razem [kg]"},
    {85, "WYKAZ STALI ZBROJENIOWEJ"},
    {86, "BETON KONSTRUKCYJNY"},
    {87, "STAL ZBROJENIOWA "},
    // Projections.
    {88, "\nWstaw rzut pręta"},
    {89, "Poziomy pIonowy"},
    {90, "pIonowy"},
    {91, "\nWskaż pręt:"},
    {92, "\nPowielić "},
    {93, "Tak Nie"},
    {94, "Nie"},
    {95, "Wskaż kierunek powielenia:"},
    // Cross-sections.
    {96, "Przekrój"},
    {97, "\nWskaż punkt początkowy przekroju prętów:"},
    {98, "\nWskaż punkt końcowy przekroju prętów:"},
    {99, "\nWprowadź otulenie podłużne"},
    {100, "\nWprowadź otulenie poprzeczne"},
    {101, "\nDecydujący parametr rozkładu"},
    {102, "Ilość Rozstaw"},
    {103, "Rozstaw"},
    {104, "\nEdycja przekroju pręta"},
    {105, "Rysuj_opis Zmień_średnicę/stal"},
    {106, "\nSposób wprowadzenia nr. <Wpisz_nr_pręta>:"},
    {107, "Wpisz_nr_pręta Przejmij_nr_pręta"},
    {108, "Wpisz_nr_pręta"},
    {109, "\nPodaj numer pręta:"},
    {110, "\nWybierz pręt do pobrania numeru:"},
    {111, "\nWybierz przekrój pręta do opisania:"},
    {112, "\nWybierz przekrój pręta do zmiany średnicy/stali:"},
    // Rod picker columns.
    {113, "Nr"},
    {114, "Średnica"},
    {115, "Stal"},
    {116, "Długość"},
    // Schedule questions, the load message and the panel.
    {119, "Czy zmienić średnicę pręta na rysunku ?"},
    {120, "Czy zmienić rodzaj stali dla pręta na rysunku ?"},
    {121, "\nModuł ArmavoCAD załadowany.\n"},
    {122, "Nie został wybrany żaden z prętów !"},
    {123, "Parametry"},
    {124, "Czy na pewno chcesz skasować wybrany pręt ?"},
    {125, "Czy skasować wybrane pręty z rysunku ?"},
    {126, "szt."},
    {127, "Czy skasować wybrany pręt z rysunku ?"},
    {128, "\nWskaż punkt wstawienia tabeli:"},
    {129, "Tylko_numer_na_odnośniku"},
    {130, "Wyokrąglenia naroży"},
    {131, "Średnica:"},
    {132, "Stal:"},
    {133, "Parametry chwilowe:"},
    {134, "Rozstaw:"},
    {135, "Ilość:"},
    {136, "Wielkość czcionki:"},
    {137, "dla opisów:"},
    {138, "dla wymiarów:"},
    {139, "Parametry pręta:"},
    // Rod picker and description editor.
    {140, "Wybierz jeden z zaznaczonych prętów:"},
    {141, "Anuluj"},
    {146, "Edycja opisu"},
    {147, "Nr. pręta:"},
    {148, "Długość:"},
    {149, "gładka"},
    {150, "żebrowana"},
    {151, "\nWybierz opis do edycji:"},
    {152, "Długość musi być większa lub równa 0 !!!"},
    {153, "Rozstaw musi być większy lub równa 0 !!!"},
    {154, "Numer pręta musi być wartością całkowitą, dodatnią !!!"},
    {155, "Ilość prętów musi być wartością całkowitą, dodatnią !!!"},
    {156, "Kształt"},
    // Help, the polyline option and the product text.
    {157, "ArmavoCAD.chm"},
    {161, "zAmień_polilinię"},
    {162, "\nWybierz polilinię do zamiany:"},
    {163, "ArmavoCAD 1.0.7"},
    // Told by the command frame when a command's subsystem is not part of this build.
    {900, "\nPolecenie %s nie jest dostępne w tej wersji modułu.\n"},
    // Told by the insert command when the input ended before a bar's second point.
    {901, "\nPręt musi mieć co najmniej dwa punkty.\n"},
    // Told by the insert command when an offset takes a vertex beyond the drawing's range.
    {902, "\nPunkt poza zakresem współrzędnych rysunku.\n"},
    // Told by the insert command when the drawing refuses the bar's polyline.
    {903, "\nRysunek nie przyjął polilinii pręta; pręt nie został wstawiony.\n"},
    // Told by the command frame when EXPORT hands over a file kind this build cannot write.
    {904, "\nEksport plików .%s nie jest dostępny w tej wersji modułu.\n"},
    // Told by the edit command for an option whose operation is not part of this build.
    {910, "\nOpcja %s nie jest dostępna w tej wersji modułu.\n"},
    // Told by a grid that gets a notification it does not handle.
    {911, "Funkcja niezdefiniowana w klasie pochodnej"},
    // Told by the parameters panel.
    {920, "Panel parametrów pokazany.\n"},
    {921, "Panel parametrów ukryty.\n"},
    {922, "Ustawienie \"%s\" panelu parametrów jest nieczytelne; pominięto je.\n"},
    // Told by the view commands when the panel's values allow no drawing, or the drawing
    // refuses a piece.
    {930, "\nRozstaw na panelu parametrów musi być większy od zera; nic nie narysowano.\n"},
    {931, "\nRysunek nie przyjął przekroju; nic nie narysowano.\n"},
    {932, "\nTyle prętów (ponad 10000) nie da się narysować naraz; nic nie narysowano.\n"},
    // The shift question of a projection's drag.
    {940, "\nOdsunąć"},
    {941, "\nWskaż kierunek odsunięcia:"},
    {942, "\nPodaj odsunięcie:"},
    // Told by the schedule when bars carry numbers its rows cannot take.
    {950, "\nPominięto w wykazie prętów: %d (numer pręta spoza zakresu 1..%d).\n"},
    // Headings of the schedule grid's count and remark columns.
    {951, "Ilość całkowita"},
    {952, "Uwagi"},
    // EXPORT .csv and .abs: refusals, the CSV's headings and total labels, and the name of a
    // drawing never saved.
    {960,
     "\nNumeracja prętów ma lukę (brak numeru %d); nic nie zapisano. Lukę zamyka OPR "
     "albo AUDIT Napraw.\n"},
    {961, "\nRysunek nie ma prętów; nic nie zapisano.\n"},
    {962, "Nr"},
    {963, "Średnica [mm]"},
    {964, "Stal"},
    {965, "Długość [cm]"},
    {966, "Ilość [szt.]"},
    {967, "Długość całkowita [m]"},
    {968, "Masa jednostkowa [kg/m]"},
    {969, "Masa [kg]"},
    {970, "Razem"},
    {971, "Razem stal"},
    {972, "bez_nazwy"},
    // AUDIT: the summary lines, the findings and the mending.
    {975, "\nAUDIT: rysunek bez usterek.\n"},
    {976, "\nAUDIT: usterek: %d.\n"},
    {977, "Luka w numeracji prętów, brakujące numery: %s."},
    {978, "Pręt %s ma numer %s, który nie może być pozycją wykazu."},
    {979, "Pręty o numerze %s różnią się: %s; ich wiersz wykazu byłby błędny."},
    {980, "średnicą"},
    {981, "stalą"},
    {982, "kształtem"},
    {983, "Pręta %s nie ma w rysunku, a należą do niego: %s."},
    {984, "Grupa %s zawiera usunięte obiekty: %s."},
    {985, "Tekst %s pokazuje numer %s, a jego pręt %s ma numer %s."},
    {986, "AUDIT Napraw: naprawiono usterek: %d, pozostało: %d.\n"},
    {987,
     "\nAUDIT przyjmuje tylko słowo Napraw (AUDIT Napraw naprawia to, co da się naprawić "
     "bez zgadywania).\n"},
    {988, "Napraw"},
    // Told by a pick prompt that found objects within the pick aperture, none of which it takes.
    {1000, "\nTo nie jest pręt.\n"},
    {1001, "\nTo nie jest pręt ani rzut pręta.\n"},
    {1002, "\nTo nie jest przekrój pręta.\n"},
    {1003, "\nTo nie jest opis na odnośniku.\n"},
    {1004, "\nTo nie jest polilinia, którą można zamienić na pręt.\n"},
    // AUDIT: views that name a bar mark by its number.
    {1010, "Rzut %s ma numer %s, którego nie ma żaden pręt."},
    {1011, "Rzut %s różni się od prętów o numerze %s: %s."},
    {1012, "Odnośnik rzutu %s pokazuje w tekście %s numer %s, a rzut ma numer %s."},
    {1013, "Odnośnik przekroju %s pokazuje w tekście %s numer %s, którego nie ma żaden pręt."},
    {1014,
     "Odnośnik przekroju %s pokazuje w tekście %s numer %s, a pręty o tym numerze różnią się "
     "od przekroju: %s."},
    // The schedule grid's note on a count or remark typed for a drawing row, and AUDIT's
    // finding of the module's records that nothing in the drawing owns.
    {1100, "wpisano, z rysunku: %s"},
    {1101, "wpisano"},
    {1102, "Rekordy modułu, których nic w rysunku nie posiada: %s."},
};

constexpr bool IsSortedById() {
    for (std::size_t i = 1; i < std::size(kTable); ++i) {
        if (kTable[i - 1].id >= kTable[i].id) {
            return false;
        }
    }
    return true;
}
static_assert(IsSortedById(), "string table ids must be strictly ascending");

}  // namespace

std::string LoadUiString(int id) {
    const auto* end = std::end(kTable);
    const auto* it = std::lower_bound(std::begin(kTable), end, id,
                                      [](const UiStringEntry& e, int key) { return e.id < key; });
    if (it == end || it->id != id) {
        return {};
    }
    return it->text;
}

std::span<const UiStringEntry> UiStringTable() {
    return kTable;
}
