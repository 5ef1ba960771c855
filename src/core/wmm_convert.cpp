// Turns NOAA's coefficient text (WMM2025.COF) into the two files GeographicLib's MagneticModel
// reads: NAME.wmm (metadata) and NAME.wmm.cof (the coefficients, little-endian binary).
//   wmm_convert IN.COF OUT_DIR NAME
#include <algorithm>
#include <bit>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Coefficients stored column by column (order m, then degree n from m up), as the reader wants.
struct Set {
  int n_max = 0;
  std::vector<std::vector<double>> c, s;  // [n][m]
  explicit Set(int n) : n_max(n), c(n + 1, std::vector<double>(n + 1)), s(c) {}
};

void Put(std::ostream& out, const void* p, std::size_t size) {
  static_assert(std::endian::native == std::endian::little, "the coefficient file is little-endian");
  out.write(static_cast<const char*>(p), static_cast<std::streamsize>(size));
}

void WriteSet(std::ostream& out, const Set& set) {
  const std::int32_t nm[2] = {set.n_max, set.n_max};
  Put(out, nm, sizeof nm);
  for (int m = 0; m <= set.n_max; ++m)
    for (int n = m; n <= set.n_max; ++n) Put(out, &set.c[n][m], sizeof(double));
  for (int m = 1; m <= set.n_max; ++m)
    for (int n = m; n <= set.n_max; ++n) Put(out, &set.s[n][m], sizeof(double));
}

int Fail(const std::string& what) {
  std::cerr << "wmm_convert: " << what << '\n';
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return Fail("usage: wmm_convert IN.COF OUT_DIR NAME");
  std::ifstream in(argv[1]);
  if (!in) return Fail(std::string("cannot read ") + argv[1]);
  const std::string dir = argv[2], name = argv[3];

  std::string line;
  double epoch = 0;
  std::string model, release;  // "WMM-2025", "11/13/2024"
  if (!std::getline(in, line) || !(std::istringstream(line) >> epoch >> model >> release))
    return Fail("no header line");

  constexpr int kDegree = 12;
  Set main_field(kDegree), rate(kDegree);
  int rows = 0;
  while (std::getline(in, line)) {
    if (line.starts_with("9999")) break;
    int n = 0, m = 0;
    double g = 0, h = 0, gd = 0, hd = 0;
    if (!(std::istringstream(line) >> n >> m >> g >> h >> gd >> hd) || n < 1 || n > kDegree || m < 0 || m > n)
      return Fail("bad coefficient line: " + line);
    main_field.c[n][m] = g;
    main_field.s[n][m] = h;
    rate.c[n][m] = gd;
    rate.s[n][m] = hd;
    ++rows;
  }
  if (rows != (kDegree + 1) * (kDegree + 2) / 2 - 1) return Fail("expected every coefficient up to degree 12");

  // The ID ties the two files together and must be exactly 8 characters.
  std::string id = model;
  id.erase(std::remove(id.begin(), id.end(), '-'), id.end());
  id = (id + "AAAAAAAA").substr(0, 8);
  const int year = static_cast<int>(epoch);
  const std::string month = release.substr(0, 2), day = release.substr(3, 2), ryear = release.substr(6, 4);

  std::ofstream meta(dir + "/" + name + ".wmm", std::ios::binary);
  meta << "WMMF-1\n"
       << "# Made at build time from " << model << "'s coefficient file.\n"
       << "Name            " << name << "\n"
       << "Description     World Magnetic Model " << year << "\n"
       << "URL             https://www.ncei.noaa.gov/products/world-magnetic-model\n"
       << "Publisher       National Oceanic and Atmospheric Administration\n"
       << "ReleaseDate     " << ryear << "-" << month << "-" << day << "\n"
       << "DataVersion     1\n"
       << "Radius          6371200\n"
       << "NumModels       1\n"
       << "Epoch           " << year << "\n"
       << "DeltaEpoch      5\n"
       << "MinTime         " << year << "\n"
       << "MaxTime         " << year + 5 << "\n"
       << "MinHeight       -1000\n"
       << "MaxHeight       850000\n"
       << "Normalization   schmidt\n"
       << "ID              " << id << "\n";
  std::ofstream cof(dir + "/" + name + ".wmm.cof", std::ios::binary);
  cof.write(id.data(), 8);
  WriteSet(cof, main_field);
  WriteSet(cof, rate);
  if (!meta || !cof) return Fail("cannot write into " + dir);
  return 0;
}
