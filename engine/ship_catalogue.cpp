#include "ship_catalogue.h"

namespace kestrin {

namespace {

constexpr std::array<std::string_view, kShipFieldCount> kFieldNames = {
    "Name", "Race", "Class", "T1", "T2", "T3", "Initiative", "Agility", "WpnSpd", "Guns",
    "Power", "Armor", "EMPRes", "Metal", "Crystal", "Eonium", "Fuel", "ETA", "ShipType"};

using RawRecord = std::array<const char*, kShipFieldCount>;

// The built-in statistics: the contents of a new statistics file and the fall-back for
// every key an existing file lacks.
constexpr std::array<RawRecord, kShipCount> kDefaultTable = {{
    {"Harpy", "Ter", "Fi", "Fi", "Co", "Fr", "11", "38", "37", "3", "1", "5", "65", "1250", "0", "0", "10", "2", "Normal"},
    {"Phoenix", "Ter", "Co", "Fr", "Co", "Fi", "16", "25", "22", "2", "5", "10", "55", "2250", "250", "0", "20", "3", "Normal"},
    {"Gryphon", "Ter", "Co", "Cr", "De", "-", "17", "24", "20", "1", "12", "12", "65", "2250", "750", "0", "25", "3", "Normal"},
    {"Centaur", "Ter", "Fr", "Co", "Fi", "-", "22", "23", "45", "7", "2", "25", "65", "3500", "2500", "0", "65", "3", "Normal"},
    {"Chimera", "Ter", "Fr", "Fr", "De", "All", "23", "22", "25", "5", "4", "35", "70", "5500", "1500", "0", "80", "4", "Normal"},
    {"Drake", "Ter", "Fr", "De", "Cr", "-", "24", "19", "17", "5", "3", "45", "85", "6250", "2000", "0", "95", "4", "Normal"},
    {"Pegasus", "Ter", "De", "Fi", "Co", "-", "10", "23", "45", "12", "3", "50", "70", "4000", "8000", "0", "135", "4", "Normal"},
    {"Demeter", "Ter", "De", "-", "-", "-", "51", "15", "0", "2", "0", "45", "75", "10000", "2000", "0", "175", "4", "Special"},
    {"Hydra", "Ter", "Cr", "Fr", "Co", "-", "32", "13", "22", "6", "16", "155", "70", "15000", "10000", "0", "225", "4", "Normal"},
    {"Syren", "Ter", "Cr", "Co", "Fr", "De", "33", "10", "30", "20", "5", "180", "75", "22000", "8000", "0", "350", "5", "Normal"},
    {"Wyvern", "Ter", "Bs", "De", "Fr", "-", "26", "12", "15", "12", "27", "160", "90", "30000", "24000", "0", "400", "4", "Normal"},
    {"Dragon", "Ter", "Bs", "Bs", "Cr", "-", "36", "5", "10", "12", "40", "500", "95", "70000", "16000", "0", "700", "5", "Normal"},
    {"Spider", "Cat", "Fi", "Co", "Fi", "-", "0", "30", "0", "1", "0", "5", "65", "0", "1250", "0", "10", "2", "EMP"},
    {"Beetle", "Cat", "Fi", "Fi", "-", "-", "6", "35", "0", "3", "0", "4", "65", "1150", "500", "0", "10", "2", "EMP"},
    {"Scarab", "Cat", "Co", "Fr", "Co", "-", "1", "23", "0", "1", "0", "20", "55", "1750", "1250", "0", "20", "3", "EMP"},
    {"Defender", "Cat", "Co", "Bs", "Cr", "De", "18", "25", "14", "1", "12", "13", "75", "2000", "500", "0", "30", "3", "Normal"},
    {"Roach", "Cat", "Co", "De", "Cr", "-", "2", "20", "0", "1", "0", "25", "65", "2750", "1250", "0", "40", "3", "EMP"},
    {"BlackWidow", "Cat", "Fr", "Co", "Fr", "-", "3", "20", "0", "5", "0", "30", "70", "4500", "3000", "0", "85", "4", "EMP"},
    {"Widowmaker", "Cat", "De", "Fi", "Co", "-", "30", "20", "35", "12", "5", "50", "70", "8000", "4000", "0", "160", "4", "Normal"},
    {"Tarantula", "Cat", "Cr", "Cr", "De", "All", "5", "14", "0", "6", "0", "180", "70", "16000", "12000", "0", "320", "4", "EMP"},
    {"Avenger", "Cat", "Cr", "De", "Fr", "All", "34", "10", "20", "12", "8", "190", "75", "22500", "7500", "0", "340", "5", "Normal"},
    {"Mantis", "Cat", "Cr", "-", "-", "-", "53", "10", "0", "3", "0", "125", "80", "19000", "13500", "0", "400", "5", "Special"},
    {"Guardian", "Cat", "Bs", "Fr", "Co", "Fi", "38", "5", "30", "35", "15", "350", "95", "42000", "32000", "0", "700", "5", "Normal"},
    {"Scorpion", "Cat", "Bs", "Fi", "Co", "-", "4", "5", "0", "90", "0", "400", "99", "50000", "36000", "0", "750", "5", "EMP"},
    {"VsharrakFighter", "Xan", "Fi", "Fi", "Co", "-", "7", "40", "45", "2", "2", "3", "40", "1350", "0", "0", "10", "2", "Cloaked"},
    {"DaeraithPulsar", "Xan", "Fi", "Fr", "De", "-", "8", "35", "25", "4", "2", "3", "45", "1250", "500", "0", "10", "2", "Cloaked"},
    {"LyvidianSentinel", "Xan", "Fi", "Co", "Fr", "All", "9", "30", "25", "2", "3", "4", "50", "750", "1000", "0", "10", "2", "Cloaked"},
    {"CuldassaArrowhead", "Xan", "Co", "Fi", "Co", "-", "14", "15", "40", "8", "1", "13", "35", "1500", "1250", "0", "20", "3", "Cloaked"},
    {"Vulture", "Xan", "Co", "-", "-", "-", "52", "30", "0", "1", "0", "9", "30", "2250", "1500", "0", "25", "3", "Special"},
    {"AndvordianBomber", "Xan", "Co", "Cr", "De", "Fr", "15", "25", "20", "1", "15", "10", "50", "2250", "1000", "0", "35", "3", "Cloaked"},
    {"TzenBoltThrower", "Xan", "Fr", "Fr", "Co", "-", "19", "20", "23", "6", "5", "30", "70", "4500", "3000", "0", "65", "4", "Cloaked"},
    {"HysperianLancer", "Xan", "Fr", "De", "Fr", "-", "20", "18", "20", "4", "7", "35", "60", "4250", "3750", "0", "75", "4", "Cloaked"},
    {"CryvellianBroadsword", "Xan", "Fr", "Cr", "Bs", "-", "21", "15", "25", "3", "12", "40", "65", "5000", "3750", "0", "95", "4", "Cloaked"},
    {"KthalFireblade", "Xan", "De", "Bs", "Cr", "De", "27", "10", "5", "4", "50", "80", "85", "18000", "8000", "0", "165", "4", "Cloaked"},
    {"XentrallisPeacekeeper", "Xan", "Cr", "Cr", "De", "All", "31", "15", "25", "8", "20", "140", "70", "19000", "12500", "0", "360", "5", "Cloaked"},
    {"ValaerianDreadnought", "Xan", "Bs", "Co", "Fi", "-", "35", "5", "20", "80", "5", "325", "90", "45000", "35000", "0", "750", "5", "Cloaked"},
    {"Corsair", "Zik", "Fi", "Cr", "De", "Fr", "13", "45", "20", "2", "1", "1", "15", "350", "250", "0", "5", "2", "Normal"},
    {"Cutlass", "Zik", "Fi", "Fi", "Co", "Fr", "12", "30", "45", "3", "1", "5", "25", "1250", "0", "0", "10", "2", "Normal"},
    {"Brig", "Zik", "Co", "Cr", "De", "Fr", "44", "30", "25", "3", "7", "18", "55", "2250", "1750", "0", "45", "3", "Normal"},
    {"Thief", "Zik", "Co", "Co", "Fi", "-", "39", "20", "25", "3", "7", "20", "60", "1750", "2250", "0", "75", "3", "Steal"},
    {"Cutter", "Zik", "Fr", "Fi", "Co", "-", "25", "20", "35", "9", "3", "40", "70", "5500", "1500", "0", "65", "4", "Normal"},
    {"Marauder", "Zik", "Fr", "Fr", "Co", "-", "40", "20", "25", "7", "6", "40", "60", "4000", "4000", "0", "95", "4", "Steal"},
    {"Buccaneer", "Zik", "De", "Bs", "Cr", "De", "28", "15", "15", "5", "15", "75", "75", "10000", "6000", "0", "140", "4", "Normal"},
    {"Clipper", "Zik", "De", "De", "Fr", "All", "29", "18", "20", "15", "5", "65", "65", "5000", "9000", "0", "150", "4", "Normal"},
    {"Rogue", "Zik", "De", "De", "Fr", "-", "41", "10", "20", "10", "7", "80", "60", "7500", "8500", "0", "195", "4", "Steal"},
    {"Pillager", "Zik", "Cr", "Cr", "De", "-", "42", "10", "20", "4", "30", "125", "50", "11000", "13000", "0", "420", "5", "Steal"},
    {"Pirate", "Zik", "Bs", "Bs", "Cr", "-", "43", "6", "10", "10", "35", "365", "80", "28500", "25500", "0", "700", "5", "Steal"},
    {"ManOWar", "Zik", "Bs", "Fr", "Co", "Fi", "37", "5", "30", "40", "6", "400", "90", "36000", "40000", "0", "800", "5", "Normal"},
    {"AstroPod", "Common", "Fr", "-", "-", "-", "50", "20", "0", "1", "0", "10", "55", "1850", "1850", "0", "125", "4", "Special"},
    {"MesonicCutter", "Common", "Co", "Co", "Fi", "-", "45", "25", "40", "1", "8", "25", "100", "750", "750", "1500", "-", "-", "PDS"},
    {"TachyonBeamer", "Common", "Fr", "Fr", "Co", "-", "46", "20", "35", "1", "14", "50", "100", "1000", "1000", "2000", "-", "-", "PDS"},
    {"PulseCannon", "Common", "De", "De", "Fr", "All", "47", "15", "30", "1", "40", "140", "100", "3000", "3000", "6000", "-", "-", "PDS"},
    {"HadronTurret", "Common", "Cr", "Cr", "De", "All", "48", "10", "25", "1", "80", "240", "100", "5000", "5000", "10000", "-", "-", "PDS"},
    {"IonLauncher", "Common", "Bs", "Bs", "Cr", "All", "49", "5", "20", "1", "175", "425", "100", "10000", "10000", "20000", "-", "-", "PDS"},
}};

ShipCatalogue BuildDefaultCatalogue() {
    ShipCatalogue catalogue;
    for (int i = 0; i < kShipCount; ++i)
        for (int f = 0; f < kShipFieldCount; ++f) catalogue.ships[i].fields[f] = kDefaultTable[i][f];
    return catalogue;
}

}  // namespace

std::string_view FieldName(ShipField field) { return kFieldNames[static_cast<int>(field)]; }

const ShipCatalogue& DefaultShipCatalogue() {
    static const ShipCatalogue catalogue = BuildDefaultCatalogue();
    return catalogue;
}

}  // namespace kestrin
