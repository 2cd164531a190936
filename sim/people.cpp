#include "people.h"

#include <string_view>

#include "field_text.h"
#include "refdata/network_tables.h"

namespace netsim {
namespace {

constexpr std::string_view kFirstNames[] = {
    "Anna",  "Ben",   "Clara", "David", "Emma",   "Felix",  "Greta", "Hannes", "Ida",   "Jonas",
    "Karin", "Lukas", "Mia",   "Nils",  "Olga",   "Paul",   "Rosa",  "Sven",   "Tom",   "Ute",
    "Ana",   "Kenji", "Li",    "Priya", "Mehmet", "Chiara", "Marek", "Ines",   "Oskar", "Lena"};
constexpr std::string_view kAccentedFirstNames[] = {
    "Jürgen", "Søren", "Zoë",        "José",   "François", "Łukasz", "Ömer",  "Agnès",
    "Björn",  "Åsa",   "Małgorzata", "Ștefan", "Jiří",     "Raúl",   "Renée", "Thorsten"};
constexpr std::string_view kLastNames[] = {
    "Schmidt",  "Schneider", "Fischer",  "Weber", "Meyer",  "Wagner",  "Becker", "Schulz",
    "Hoffmann", "Nowak",     "Kowalski", "Rossi", "Jensen", "Nielsen", "Smith",  "Brown",
    "Tanaka",   "O'Brien",   "van Dijk", "Lange", "Berg",   "Keller",  "Novak",  "Costa"};
constexpr std::string_view kAccentedLastNames[] = {
    "Müller", "Krüger", "Šimek", "García", "Núñez",  "Lefèvre", "Öztürk",   "Håkansson",
    "Dvořák", "Novák",  "Peña",  "Böhm",   "Wróbel", "Çelik",   "Sørensen", "Jäger"};

// Fields 1 to 3 must leave the type field inside the first 70 characters
// that NetGlobe searches: callsigns stay under 13 and names under 41 bytes.
constexpr std::size_t kMaxNameBytes = 40;

}  // namespace

std::string personname(Rng& rng) {
  std::string name =
      std::string(rng.chance(0.15) ? pickfrom(rng, kAccentedFirstNames)
                                   : pickfrom(rng, kFirstNames)) +
      " " +
      std::string(rng.chance(0.15) ? pickfrom(rng, kAccentedLastNames) : pickfrom(rng, kLastNames));
  if (rng.chance(0.1))
    name += " " +
            std::string(
                netglobe::homeairports[rng.below(static_cast<int>(netglobe::homeairports.size()))]);
  return capped(std::move(name), kMaxNameBytes);
}

std::string memberid(Rng& rng) {
  std::string id = std::to_string(100000 + rng.below(900000));
  if (netglobe::isfriend(id)) id = std::to_string(std::stoi(id) + 1);
  return id;
}

}  // namespace netsim
