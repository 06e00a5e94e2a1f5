#include "bench/engine/address_data.h"

namespace vesk::bench {
namespace {

constexpr const char* kNames[] = {
    "Müller",  "Schmidt", "Schneider", "Fischer",  "Weber", "Meyer",   "Wagner",   "Becker",  "Schulz",  "Hoffmann",
    "Schäfer", "Koch",    "Bauer",     "Richter",  "Klein", "Wolf",    "Schröder", "Neumann", "Schwarz", "Zimmermann",
    "Braun",   "Krüger",  "Hofmann",   "Hartmann", "Lange", "Schmitt", "Werner",   "Krause",  "Meier",   "Lehmann"};
constexpr const char* kVornamen[] = {"Anna",     "Jürgen", "Hans", "Ursula",   "Peter", "Monika", "Klaus",  "Sabine",
                                     "Wolfgang", "Renate", "Jörg", "Brigitte", "Uwe",   "Käthe",  "Stefan", "Petra"};
constexpr const char* kStrassen[] = {"Hauptstraße", "Schulstraße", "Gartenstraße", "Bahnhofstraße", "Dorfstraße",
                                     "Bergstraße",  "Birkenweg",   "Lindenstraße", "Kirchstraße",   "Waldstraße"};
constexpr const char* kOrte[] = {"Berlin",    "Hamburg",    "München", "Köln",     "Frankfurt am Main",
                                 "Stuttgart", "Düsseldorf", "Leipzig", "Dortmund", "Essen",
                                 "Bremen",    "Dresden",    "Nürnberg"};

uint64_t Mix(uint64_t x) {
  x += 0x9e3779b97f4a7c15ULL;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
  return x ^ (x >> 31);
}

template <size_t N>
const char* Choose(const char* const (&list)[N], uint64_t random) {
  return list[random % N];
}

}  // namespace

Address MakeAddress(uint64_t number) {
  const uint64_t a = Mix(number);
  const uint64_t b = Mix(a);
  Address address;
  // The suffix makes most names distinct, in an order unlike the numbers'.
  address.name = std::string(Choose(kNames, a)) + " " + std::to_string((a >> 8) % 1000000);
  address.vorname = Choose(kVornamen, a >> 20);
  address.strasse = std::string(Choose(kStrassen, a >> 28)) + " " + std::to_string(1 + (a >> 36) % 200);
  address.ort = Choose(kOrte, a >> 44);
  address.plz = std::to_string(10000 + b % 90000);
  address.telefon = "0" + std::to_string(30 + (b >> 20) % 9000) + "/" + std::to_string(100000 + (b >> 34) % 900000);
  address.nummer = static_cast<int32_t>((b >> 8) % 1000000);
  address.geboren = 10000.0 + static_cast<double>((b >> 40) % 30000);
  return address;
}

}  // namespace vesk::bench
