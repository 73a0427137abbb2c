#pragma once
// The cable catalog: CableCatalog.txt read into a table of text cells.

#include <array>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace ferrolux {

class OverflowReporter;

inline constexpr int kCatalogColumns = 18;    // columns 0 to 17; fields are 1 to 16
inline constexpr int kCatalogCapacity = 115;  // records the table holds before it grows
inline const std::filesystem::path kCatalogFile = "CableCatalog.txt";

// Row 0, column 1 holds the record count as NumberText writes it; rows 1 to count the records.
using CatalogRow = std::array<std::string, kCatalogColumns>;
using CatalogTable = std::vector<CatalogRow>;

namespace column {
inline constexpr int kType = 1, kPartNumber = 2, kImpedance = 3, kVelocityFactor = 4, kCapacitance = 5,
                     kCenterConductor = 6, kDielectric = 7, kShield = 8, kJacket = 9, kDiameter = 10, kRms = 11,
                     kK0 = 12, kK1 = 13, kK2 = 14, kDescription = 15, kRecommendedUses = 16;
}  // namespace column

// Rows 0 to kCatalogCapacity, every cell empty.
CatalogTable MakeCatalogTable();
// The same in a table's own storage, which a table of that size already has.
void EmptyCatalogTable(CatalogTable& table);

// The record count that loading left in row 0.
int RecordCount(const CatalogTable& table);

// What a failure's message alone does not say: the subcommands add it, the calculator shows the
// message as it is.
enum class LoadDetail {
  kNone,
  kLockedForWriting,  // another program kept its writer's lock past the patience
  kChangedWhileRead,  // a writer that takes no lock changed the file under every try
  kFileTooLarge,      // larger than kMaxCatalogBytes
  kLineTooLong,       // a line longer than kMaxCatalogLineBytes
  kTooManyRecords,    // more than kMaxCatalogRecords
};

// An editor saving holds its lock for a moment; a lock held longer than this is reported.
inline constexpr std::chrono::milliseconds kWriterLockPatience{2000};

// Reads the catalog file into the table, sharing it with other readers. Empties `errorMessage`
// first and leaves a message there on failure ("[53] File not found", …); the records read so
// far stay in the table.
LoadDetail LoadCatalog(CatalogTable& table, OverflowReporter& reporter, std::string& errorMessage,
                       const std::filesystem::path& file = kCatalogFile,
                       std::chrono::milliseconds lockPatience = kWriterLockPatience);

// Splits `text` at each `delimiter` into parts[1..n], parts[0] = NumberText(n). An empty
// delimiter becomes ","; a text without it gives parts[0] = "0". Too small an array is
// reported through `reporter` and in `errorMessage`.
void ArgSplit(OverflowReporter& reporter, std::string& errorMessage, const std::string& text,
              std::vector<std::string>& parts, std::string& delimiter);

}  // namespace ferrolux
