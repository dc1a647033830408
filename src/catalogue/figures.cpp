#include "catalogue/figures.h"

namespace morvane {

namespace {

// One line of a figure per pair, grouped by figure: the zodiac figures first, then the other
// constellations, in catalogue order.
constexpr std::array<FigureLine, 162> kFigureLines = {{
    {"_LADO1", "_LADO2"}, {"_LADO1", "_LADO5"}, {"_LADO2", "_LADO3"}, {"_LADO3", "_LADO4"},
    {"_LADO6", "_LADO1"},
    {"_ULANDUS1", "_ULANDUS2"}, {"_ULANDUS2", "_ULANDUS3"}, {"_ULANDUS3", "_ULANDUS4"},
    {"_ULANDUS4", "_ULANDUS5"}, {"_ULANDUS4", "_ULANDUS6"}, {"_ULANDUS6", "_ULANDUS7"},
    {"_ARALIUS1", "_ARALIUS3"}, {"_ARALIUS1", "_ARALIUS2"}, {"_ARALIUS2", "_ARALIUS5"},
    {"_ARALIUS4", "_ARALIUS1"}, {"_ARALIUS5", "_ARALIUS6"}, {"_ARALIUS6", "_ARALIUS4"},
    {"_FENIRI1", "_FENIRI2"}, {"_FENIRI2", "_FENIRI4"}, {"_FENIRI4", "_FENIRI3"},
    {"_FENIRI3", "_FENIRI5"},
    {"_AHNU1", "_AHNU2"}, {"_AHNU2", "_AHNU3"}, {"_AHNU2", "_AHNU4"}, {"_AHNU4", "_AHNU5"},
    {"_ANGBERELIUS1", "_ANGBERELIUS2"}, {"_ANGBERELIUS2", "_ANGBERELIUS3"},
    {"_ANGBERELIUS3", "_ANGBERELIUS4"}, {"_ANGBERELIUS4", "_ANGBERELIUS5"},
    {"_ANGBERELIUS5", "_ANGBERELIUS6"}, {"_ANGBERELIUS6", "_ANGBERELIUS7"},
    {"_NADAI1", "_NADAI4"}, {"_NADAI2", "_NADAI3"}, {"_NADAI2", "_NADAI1"}, {"_NADAI4", "_NADAI5"},
    {"_NADAI5", "_NADAI3"},
    {"_HIRIN1", "_HIRIN4"}, {"_HIRIN2", "_HIRIN3"}, {"_HIRIN3", "_HIRIN4"}, {"_HIRIN4", "_HIRIN5"},
    {"_HIRIN5", "_HIRIN6"}, {"_HIRIN6", "_HIRIN1"},
    {"_TARAEL1", "_TARAEL2"}, {"_TARAEL2", "_TARAEL3"}, {"_TARAEL3", "_TARAEL5"},
    {"_TARAEL4", "_TARAEL5"}, {"_TARAEL4", "_TARAEL1"}, {"_TARAEL5", "_TARAEL2"},
    {"_TAI1", "_TAI2"}, {"_TAI2", "_TAI4"}, {"_TAI4", "_TAI3"}, {"_TAI3", "_TAI1"},
    {"_SKORUS1", "_SKORUS2"}, {"_SKORUS2", "_SKORUS4"}, {"_SKORUS3", "_SKORUS4"},
    {"_SKORUS3", "_SKORUS5"}, {"_SKORUS4", "_SKORUS5"}, {"_SKORUS5", "_SKORUS7"},
    {"_SKORUS6", "_SKORUS7"}, {"_SKORUS6", "_SKORUS4"},
    {"_MASARA1", "_MASARA2"}, {"_MASARA2", "_MASARA4"}, {"_MASARA3", "_MASARA2"},
    {"_MASARA4", "_MASARA1"},
    {"_LOKIARN1", "_LOKIARN2"}, {"_LOKIARN2", "_LOKIARN3"}, {"_LOKIARN2", "_LOKIARN5"},
    {"_LOKIARN4", "_LOKIARN5"},
    {"_YOLL1", "_YOLL2"}, {"_YOLL2", "_YOLL3"}, {"_YOLL3", "_YOLL4"}, {"_YOLL4", "_YOLL1"},
    {"_DYNUX1", "_DYNUX4"}, {"_DYNUX2", "_DYNUX3"}, {"_DYNUX2", "_DYNUX4"}, {"_DYNUX3", "_DYNUX4"},
    {"_DYNUX4", "_DYNUX5"}, {"_DYNUX4", "_DYNUX6"},
    {"_LYNDUS1", "_LYNDUS2"}, {"_LYNDUS2", "_LYNDUS3"}, {"_LYNDUS3", "_LYNDUS4"},
    {"_LYNDUS4", "_LYNDUS5"}, {"_LYNDUS5", "_LYNDUS1"},
    {"_AIK1", "_AIK4"}, {"_AIK1", "_AIK3"}, {"_AIK3", "_AIK4"}, {"_AIK3", "_AIK2"},
    {"_AIK2", "_AIK5"},
    {"_STEND1", "_STEND2"}, {"_STEND2", "_STEND3"},
    {"_CHIND1", "_CHIND2"}, {"_CHIND2", "_CHIND3"}, {"_CHIND3", "_CHIND1"},
    {"_CRYX1", "_CRYX3"}, {"_CRYX2", "_CRYX3"}, {"_CRYX3", "_CRYX5"}, {"_CRYX4", "_CRYX6"},
    {"_CRYX3", "_CRYX8"}, {"_CRYX5", "_CRYX9"}, {"_CRYX7", "_CRYX8"}, {"_CRYX8", "_CRYX9"},
    {"_CRYX5", "_CRYX6"},
    {"_ENGE1", "_ENGE2"}, {"_ENGE2", "_ENGE3"}, {"_ENGE3", "_ENGE4"},
    {"_UHLA1", "_UHLA2"}, {"_UHLA2", "_UHLA3"}, {"_UHLA3", "_UHLA4"}, {"_UHLA4", "_UHLA5"},
    {"_UHLA5", "_UHLA2"}, {"_UHLA5", "_UHLA3"},
    {"_CRYNTO1", "_CRYNTO2"}, {"_CRYNTO2", "_CRYNTO3"}, {"_CRYNTO3", "_CRYNTO4"},
    {"_USNARL1", "_USNARL2"}, {"_USNARL2", "_USNARL4"}, {"_USNARL4", "_USNARL6"},
    {"_USNARL6", "_USNARL5"}, {"_USNARL5", "_USNARL3"}, {"_USNARL3", "_USNARL1"},
    {"_KRAST1", "_KRAST2"}, {"_KRAST1", "_KRAST3"}, {"_KRAST1", "_KRAST4"},
    {"_KELARK1", "_KELARK2"}, {"_KELARK2", "_KELARK3"}, {"_KELARK3", "_KELARK4"},
    {"_KELARK4", "_KELARK5"},
    {"_NIND1", "_NIND2"}, {"_NIND2", "_NIND3"}, {"_NIND3", "_NIND1"},
    {"_TLYLUS1", "_TLYLUS2"}, {"_TLYLUS1", "_TLYLUS3"}, {"_TLYLUS3", "_TLYLUS4"},
    {"_FRYLUS1", "_FRYLUS3"}, {"_FRYLUS4", "_FRYLUS1"}, {"_FRYLUS2", "_FRYLUS4"},
    {"_FRYLUS2", "_FRYLUS5"}, {"_FRYLUS5", "_FRYLUS6"},
    {"_TISSAMS1", "_TISSAMS2"}, {"_TISSAMS2", "_TISSAMS3"}, {"_TISSAMS3", "_TISSAMS6"},
    {"_TISSAMS3", "_TISSAMS5"}, {"_TISSAMS2", "_TISSAMS4"},
    {"_ERMAEL1", "_ERMAEL4"}, {"_ERMAEL2", "_ERMAEL3"}, {"_ERMAEL3", "_ERMAEL4"},
    {"_ERMAEL4", "_ERMAEL5"}, {"_ERMAEL5", "_ERMAEL6"},
    {"_GERIAM1", "_GERIAM2"}, {"_GERIAM2", "_GERIAM3"}, {"_GERIAM3", "_GERIAM1"},
    {"_CLESSAN1", "_CLESSAN2"}, {"_CLESSAN2", "_CLESSAN3"}, {"_CLESSAN3", "_CLESSAN4"},
    {"_CLESSAN4", "_CLESSAN5"}, {"_CLESSAN5", "_CLESSAN1"},
    {"_SUSSO2", "_SUSSO3"}, {"_SUSSO3", "_SUSSO4"}, {"_SUSSO4", "_SUSSO1"},
    {"_HERPA1", "_HERPA2"}, {"_HERPA1", "_HERPA3"}, {"_HERPA4", "_HERPA1"},
}};

}  // namespace

std::span<const FigureLine> constellationFigureLines() { return kFigureLines; }

}  // namespace morvane
