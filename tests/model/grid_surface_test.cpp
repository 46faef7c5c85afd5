#include "model/grid_surface.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../evaluation/grid_fixtures.h"
#include "model/boundary_grids.h"
#include "model/display_surface.h"
#include "model/read_error.h"
#include "temp_file.h"

namespace kalvenor {
namespace {

using ::testing::HasSubstr;

const std::string kByteOrderMark = "\xEF\xBB\xBF";

ReadError gridError(const std::string& content) {
  TempFile file(content);
  try {
    readGridSurface(file.path());
  } catch (const ReadError& error) {
    EXPECT_EQ(error.path(), file.path());
    return error;
  }
  ADD_FAILURE() << "accepted: " << content;
  return ReadError("", 0, 0, "");
}

std::string readFailure(const std::string& content) { return gridError(content).what(); }

TEST(GridFile, ReadsColumnByColumnWithYFastest) {
  TempFile file("2, 2, 0, 0, 10, 10, 1, 2, 3, 4");
  const GridSurface grid = readGridSurface(file.path());
  EXPECT_EQ(grid.Nx, 2);
  EXPECT_EQ(grid.Ny, 2);
  EXPECT_EQ(grid.z(1, 1), 1);  // (0, 0)
  EXPECT_EQ(grid.z(1, 2), 2);  // (0, 10)
  EXPECT_EQ(grid.z(2, 1), 3);  // (10, 0)
  EXPECT_EQ(grid.z(2, 2), 4);  // (10, 10)
}

TEST(GridFile, AnyLineLayoutReadsTheSame) {
  TempFile oneLine("3,2,100.5,-200,25,-12.5,1,2,3,4,5,6\n");
  TempFile manyLines("3\n2\n100.5\n-200\n25\n-12.5\n1, 2\n3, 4\n5, 6\n\ntrailing text is ignored");
  TempFile blanks("3 2 1.005E2 -2e2\t25 -12.5\r\n  1  2\r\n  3  4\r\n  5  6\r\n");
  const GridSurface expected = readGridSurface(oneLine.path());
  EXPECT_EQ(expected.Dy, -12.5);
  for (const TempFile* file : {&manyLines, &blanks}) {
    const GridSurface grid = readGridSurface(file->path());
    EXPECT_EQ(grid.Nx, 3);
    EXPECT_EQ(grid.Xmin, 100.5);
    EXPECT_EQ(grid.Ymin, -200);
    EXPECT_EQ(grid.z, expected.z);
  }
}

TEST(GridFile, RejectsGridsTheEvaluationCannotUse) {
  EXPECT_THAT(readFailure("1, 2, 0, 0, 1, 1, 5, 6"), HasSubstr("Nx must be a whole number"));
  EXPECT_THAT(readFailure("2, 0, 0, 0, 1, 1"), HasSubstr("Ny must be a whole number"));
  EXPECT_THAT(readFailure("2, 2, 0, 0, 0, 1, 1, 2, 3, 4"), HasSubstr("Dx must not be 0"));
  EXPECT_THAT(readFailure("2, 2, 0, 0, 1, 0, 1, 2, 3, 4"), HasSubstr("Dy must not be 0"));
  EXPECT_THAT(readFailure("2, 2, 0, 0, 1, 1e999, 1, 2, 3, 4"), HasSubstr("expected Dy"));
  EXPECT_THAT(readFailure("2, 2, 0, 0, 1, 1, 1, nan, 3, 4"), HasSubstr("found \"nan\""));
  EXPECT_THAT(readFailure("3, 2, 0, 0, 1e308, 1, 1, 2, 3, 4, 5, 6"),
              HasSubstr("beyond the range of numbers"));
  EXPECT_THAT(readFailure("100000, 100000, 0, 0, 1, 1"), HasSubstr("larger than"));
  EXPECT_THAT(readFailure("4096,4096,0,0,1,1,1"), HasSubstr("too short for the 16777216"));
  EXPECT_THAT(readFailure("5000000000, 2, 0, 0, 1, 1"), HasSubstr("Nx must be a whole number"));
}

// Numbers the viewer's arithmetic cannot take are refused where they stand, with their value:
// they would only draw an empty picture.
TEST(GridFile, NumbersBeyondTheArithmeticAndNodesItCannotTellApartAreRefused) {
  const struct {
    std::string grid;
    int line, item;
    std::string problem;
  } cases[] = {
      {"2,2,1e308,0,5e307,10,5,5,6,5", 1, 5, "the grid reaches x 1E+308, beyond the 1E+300"},
      {"2,2,0\n-1e300\n1\n-1e299\n5,5,6,5", 4, 6, "the grid reaches y -1.1E+300, beyond"},
      {"3,2,100,0,1e-300,1,5,5,6,5,5,5", 1, 5,
       "Dx 1E-300 is too small to tell the nodes apart at x 100: nodes 1 and 2"},
      {"2,3,0,1e16,1,0.5,5,5,5,6,5,5", 1, 6,
       "Dy 0.5 is too small to tell the nodes apart at y 1E+16"},
      {"2,2,0,0,10,10,5,5\n1.7e308,5", 2, 9, "the elevation 1.7E+308 is beyond the 1E+300"},
      {"2,2,0,0,10,10,-1.7e308,5,5,5", 1, 7, "the elevation -1.7E+308"},
  };
  for (const auto& c : cases) {
    const ReadError error = gridError(c.grid);
    EXPECT_THAT(error.problem(), HasSubstr(c.problem)) << c.grid;
    EXPECT_EQ(error.line(), c.line) << c.grid;
    EXPECT_EQ(error.item(), c.item) << c.grid;
  }
  // The largest numbers allowed and the finest spacing that still tells nodes apart read.
  TempFile edge("2,2,-1e300,0,2e300,1e-300,1e300,-1e300,0,5");
  EXPECT_EQ(readGridSurface(edge.path()).z(1, 2), -1e300);
}

TEST(GridFile, AnEarlyEndSaysHowManyElevationsWereRead) {
  std::string content = "5, 8, 0, 0, 1, 1\n";
  for (int n = 0; n < 37; ++n) content += "1.5\n";
  const std::string message = readFailure(content);
  EXPECT_THAT(message, HasSubstr("the file ends after 37 of 40 elevations"));
  EXPECT_THAT(message, HasSubstr("line 38"));
}

TEST(GridFile, AHeaderValueThatCannotBeUsedIsReportedOnItsOwnLine) {
  struct Case {
    const char* content;
    int line;
    int item;
  };
  for (const Case& c :
       {Case{"1\n2\n0\n0\n1\n1\n1, 2\n", 1, 1}, Case{"100000\n100000\n0\n0\n1\n1\n", 2, 2},
        Case{"2\n2\n0\n0\n0\n1\n1, 2, 3, 4\n", 5, 5}, Case{"2\n2\n0\n0\n1\n0\n1, 2, 3, 4\n", 6, 6},
        Case{"3\n2\n0\n0\n1e308\n1\n1, 2, 3, 4, 5, 6\n", 5, 5},
        Case{"2\r2\r0\r-1e308\r1\r-1e308\r1, 2, 3, 4\r", 6, 6},
        Case{"4096,\n4096, 0, 0, 1, 1\n1, 2\n", 2, 6}}) {
    const ReadError error = gridError(c.content);
    EXPECT_EQ(error.line(), c.line) << c.content;
    EXPECT_EQ(error.item(), c.item) << c.content;
  }
}

TEST(GridFile, EveryNumberFormReadsAcrossBlocksAndLineEnds) {
  // Each form in turn, with every kind of line end and separator, in a file long enough that
  // numbers straddle the blocks it is read in.
  const std::array<std::string, 10> forms = {
      "+1.25", "1.", ".5",  "-0.000123", "6.02E+3", "9007199254740993", "123456.789012345678",
      "7e-5",  "-4", "1e22"};
  const std::array<std::string, 5> ends = {"\n", "\r\n", "\r", ", ", " \t"};
  constexpr int kNx = 3;
  constexpr int kNy = 9001;
  std::string content = kByteOrderMark + "3\r\n9001\r\n0, 0, 1, 1\r\n";
  std::vector<double> expected;
  for (int n = 0; n < kNx * kNy; ++n) {
    const std::string& form = forms[static_cast<std::size_t>(n) % forms.size()];
    content += form + ends[static_cast<std::size_t>(n / 3) % ends.size()];
    double value = 0.0;
    const std::size_t start = form.front() == '+' || form.front() == '-' ? 1 : 0;
    std::from_chars(form.data() + start, form.data() + form.size(), value);
    expected.push_back(form.front() == '-' ? -value : value);
  }
  ASSERT_GT(content.size(), std::size_t{3} << 16);
  TempFile file(content);
  const GridSurface grid = readGridSurface(file.path());
  ASSERT_EQ(grid.Ny, kNy);
  for (int i = 1; i <= kNx; ++i) {
    for (int j = 1; j <= kNy; ++j) {
      const double want = expected[static_cast<std::size_t>((i - 1) * kNy + j - 1)];
      ASSERT_EQ(std::bit_cast<std::uint64_t>(grid.z(i, j)), std::bit_cast<std::uint64_t>(want))
          << i << ", " << j;
    }
  }
  EXPECT_EQ(grid.trailingValues, 0);
}

TEST(GridFile, ForeignNumberFormsAreRefusedWhereTheyStand) {
  for (const char* bad : {"0x1A", "inf", "-nan", "1e", "1.2.3", "--1", "+", ".", "1e400", "1.5m"}) {
    const ReadError error =
        gridError("2, 2, 0, 0, 1, 1\r\n1, 2\r\n3, " + std::string(bad) + "\r\n");
    EXPECT_EQ(error.line(), 3) << bad;
    EXPECT_EQ(error.item(), 10) << bad;
    EXPECT_EQ(error.problem(),
              "expected an elevation as a number, found \"" + std::string(bad) + "\"");
  }
  const ReadError empty = gridError("2, 2, 0, 0, 1, 1\n1, 2\n3,, 4\n");
  EXPECT_EQ(empty.line(), 3);
  EXPECT_EQ(empty.item(), 10);
  EXPECT_EQ(empty.problem(), "expected an elevation, found an empty item");
}

TEST(GridFile, AByteOrderMarkBeforeNxIsSkipped) {
  TempFile file(kByteOrderMark + "2, 2, 0, 0, 10, 10\r\n1, 2, 3, 4\r\n");
  const GridSurface grid = readGridSurface(file.path());
  EXPECT_EQ(grid.Nx, 2);
  EXPECT_EQ(grid.z(2, 2), 4);
}

TEST(GridFile, AFolderOrAMissingFileSaysWhich) {
  const std::string folder = std::filesystem::temp_directory_path().string();
  try {
    readGridSurface(folder);
    ADD_FAILURE() << "a folder was read as a grid";
  } catch (const ReadError& error) {
    EXPECT_EQ(error.path(), folder);
    EXPECT_THAT(error.what(), HasSubstr("is a folder"));
  }
  try {
    readGridSurface("/nonexistent/grid.txt");
    ADD_FAILURE() << "a missing file was read as a grid";
  } catch (const ReadError& error) {
    EXPECT_THAT(error.what(), HasSubstr("no such file"));
  }
}

TEST(GridFile, AnXyzFileWithoutAHeaderLineIsToldHowToAddOne) {
  const std::string hint = "it looks like an XYZ file without a header line";
  const struct {
    std::string content;
    std::string says;
    bool hinted;
  } cases[] = {
      {"30000 44000 434.63\n30050 44000 436.61\n30100 44000 437.2\n",
       "a grid of 30000 x 44000 nodes is larger than", true},
      {"0,0,1\n10,0,2\n0,10,3\n10,10,4\n", "Nx must be a whole number", true},
      {"5\t10\t1\r\n5\t20\t2\r\n5\t30\t3\r\n", "the file is too short", true},
      // Own grids that fail stay as they were told.
      {"2, 2, 0, 0, 10, 10, 1, 2, 3", "the file ends after 3 of 4 elevations", false},
      {"2 2 0\n0 10 10\n1 2 3\n", "the file is too short", false},
  };
  for (const auto& c : cases) {
    const std::string message = readFailure(c.content);
    EXPECT_THAT(message, HasSubstr(c.says)) << c.content;
    EXPECT_EQ(message.find(hint) != std::string::npos, c.hinted) << message;
    if (c.hinted) {
      EXPECT_THAT(message, HasSubstr("add the line \"x y z\" at its top"));
    }
  }
}

TEST(GridFile, ValuesAfterTheLastElevationAreCountedAndWarnedAbout) {
  TempFile exact("2, 2, 0, 0, 10, 10\n1, 2, 3, 4\n\n");
  const GridSurface whole = readGridSurface(exact.path());
  EXPECT_EQ(whole.trailingValues, 0);
  EXPECT_EQ(trailingValuesWarning(exact.path(), whole), "");

  // Decimal commas and blanks: every number reads as two, and half of them are left over.
  TempFile commas("2 2 0 0 10 10\n394,94 395,45\n396,12 397,5\n");
  const GridSurface split = readGridSurface(commas.path());
  EXPECT_EQ(split.z(2, 2), 45);
  EXPECT_EQ(split.trailingValues, 4);
  const std::string warning = trailingValuesWarning(commas.path(), split);
  EXPECT_THAT(warning, HasSubstr(commas.path()));
  EXPECT_THAT(warning, HasSubstr("4 values"));
  EXPECT_THAT(warning, HasSubstr("ignored"));
  EXPECT_THAT(warning, HasSubstr("decimal commas"));
  EXPECT_EQ(warning.find('\n'), std::string::npos);

  TempFile words("2, 2, 0, 0, 10, 10, 1, 2, 3, 4, 5\nthe end, \"of it\",,\t\x01\r\n");
  EXPECT_EQ(readGridSurface(words.path()).trailingValues, 6);
  TempFile one("2, 2, 0, 0, 10, 10, 1, 2, 3, 4, 5\n");
  const GridSurface oneMore = readGridSurface(one.path());
  EXPECT_EQ(oneMore.trailingValues, 1);
  EXPECT_THAT(trailingValuesWarning(one.path(), oneMore), HasSubstr("1 value after"));
}

TEST(DisplaySurface, TheTwoByTwoExample) {
  TempFile file("2, 2, 0, 0, 10, 10, 1, 2, 3, 4");
  LoadJitter jitter;
  const DisplaySurface display = makeDisplaySurface(readGridSurface(file.path()), jitter);
  EXPECT_EQ(display.nodeX[2], 10);
  EXPECT_EQ(display.nodeY[2], 10);
  EXPECT_EQ(display.Xmax, 10);
  EXPECT_EQ(display.Ymax, 10);
  EXPECT_EQ(display.Xc, 5);
  EXPECT_EQ(display.Yc, 5);
  const double expected[3][3] = {{0, 0, 0}, {0, 1, 2}, {0, 3, 4}};
  for (int i = 1; i <= 2; ++i) {
    for (int j = 1; j <= 2; ++j) {
      EXPECT_LE(display.dispZ(i, j), expected[i][j]);
      EXPECT_GT(display.dispZ(i, j), expected[i][j] - 1e-6);
    }
  }
  EXPECT_EQ(display.Zmin, display.dispZ(1, 1));
  EXPECT_EQ(display.Zmax, display.dispZ(2, 2));
  EXPECT_DOUBLE_EQ(display.zEps, (display.Zmax - display.Zmin) * 1e-6);
  EXPECT_EQ(defaultZbase(display.Zmin), 0);
}

TEST(DisplaySurface, TheJitterContinuesFromOneLoadToTheNextAndRestartsWithTheProgram) {
  TempFile file("2, 2, 0, 0, 1, 1, 5, 5, 5, 5");
  const GridSurface grid = readGridSurface(file.path());
  LoadJitter jitter;
  const DisplaySurface first = makeDisplaySurface(grid, jitter);
  const DisplaySurface second = makeDisplaySurface(grid, jitter);
  EXPECT_NE(first.dispZ, second.dispZ);
  LoadJitter restarted;
  EXPECT_EQ(makeDisplaySurface(grid, restarted).dispZ, first.dispZ);
  EXPECT_NE(first.dispZ(1, 1), first.dispZ(1, 2));  // every node takes its own draw
}

// The columns lowered side by side take the draws one generator gives in file order, node by
// node, and leave the generator where those draws leave it.
TEST(DisplaySurface, TheColumnsLoweredOnSeveralThreadsTakeTheDrawsInFileOrder) {
  const GridSurface grid = makeGrid(37, 23, 0, 0, 1, 1, [](double x, double y) { return x - y; });
  for (const int threads : {1, 2, 5}) {
    LoadJitter jitter, inTurn;
    const DisplaySurface display = makeDisplaySurface(grid, jitter, {threads});
    for (int i = 1; i <= grid.Nx; ++i) {
      for (int j = 1; j <= grid.Ny; ++j) {
        ASSERT_EQ(display.dispZ(i, j), grid.z(i, j) - static_cast<double>(inTurn.next()) * 1e-6)
            << threads << " threads, node (" << i << ", " << j << ")";
      }
    }
    EXPECT_EQ(jitter.next(), inTurn.next()) << threads << " threads";
  }
  // Around the generator's whole period of 2^24 draws and back.
  LoadJitter start;
  EXPECT_EQ(start.after(std::uint64_t{1} << 24).next(), LoadJitter().next());
}

TEST(DisplaySurface, EveryNodeIsLoweredByLessThanAMillionthAndHalfOfOneOnAverage) {
  const GridSurface grid = makeGrid(60, 50, 0, 0, 1, 1, [](double x, double y) { return x * y; });
  LoadJitter jitter;
  const DisplaySurface display = makeDisplaySurface(grid, jitter);
  double sum = 0;
  for (int i = 1; i <= grid.Nx; ++i) {
    for (int j = 1; j <= grid.Ny; ++j) {
      const double lowered = grid.z(i, j) - display.dispZ(i, j);
      ASSERT_GE(lowered, 0.0);
      ASSERT_LT(lowered, 1e-6);
      sum += lowered;
    }
  }
  EXPECT_NEAR(sum / (grid.Nx * grid.Ny), 0.5e-6, 0.03e-6);
}

TEST(DisplaySurface, TheJitterIsUniformInTheUnitInterval) {
  LoadJitter jitter;
  double sum = 0;
  for (int n = 0; n < 100000; ++n) {
    const float r = jitter.next();
    ASSERT_GE(r, 0.0f);
    ASSERT_LT(r, 1.0f);
    sum += r;
  }
  EXPECT_NEAR(sum / 100000, 0.5, 0.01);
}

TEST(DisplaySurface, DefaultZbaseIsTheLargestIntegerNotAboveZminLessAHalf) {
  EXPECT_EQ(defaultZbase(100.3), 99);
  EXPECT_EQ(defaultZbase(100.7), 100);
  EXPECT_EQ(defaultZbase(-0.2), -1);
  EXPECT_EQ(defaultZbase(0.5), 0);
}

TEST(DisplaySurface, AMismatchIsAnyEdgeThatDiffers) {
  TempFile same("3, 2, 0, 0, 10, 10, 1, 1, 1, 1, 1, 1");
  TempFile wider("4, 2, 0, 0, 10, 10, 1, 1, 1, 1, 1, 1, 1, 1");
  TempFile finer("5, 3, 0, 0, 5, 5, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1");
  LoadJitter jitter;
  const DisplaySurface display = makeDisplaySurface(readGridSurface(same.path()), jitter);
  EXPECT_FALSE(gridMismatch(readGridSurface(same.path()), display));
  EXPECT_TRUE(gridMismatch(readGridSurface(wider.path()), display));
  EXPECT_FALSE(gridMismatch(readGridSurface(finer.path()), display));  // same edges
}

TEST(GridHeader, NodesCountFromOneAtTheOriginInEitherDirection) {
  const GridHeader east{4, 3, 100, 200, 25, 10};
  EXPECT_EQ(east.x(1), 100);
  EXPECT_EQ(east.y(2), 210);
  EXPECT_EQ(east.xMax(), 175);
  EXPECT_EQ(east.yMax(), 220);
  const GridHeader west{4, 3, 175, 220, -25, -10};  // the same nodes stored the other way
  EXPECT_EQ(west.xMax(), east.x(1));
  EXPECT_EQ(west.yMax(), east.y(1));
}

TEST(GridHeader, SameNodesNeedsEveryHeaderValueEqual) {
  const GridHeader display{3, 2, 0, 0, 10, 10};
  EXPECT_TRUE(sameNodes(display, display));
  EXPECT_FALSE(sameNodes(GridHeader{5, 3, 0, 0, 5, 5}, display));  // same edges, finer
  for (int field = 0; field < 6; ++field) {
    GridHeader other = display;
    switch (field) {
      case 0:
        other.Nx = 4;
        break;
      case 1:
        other.Ny = 3;
        break;
      case 2:
        other.Xmin = 1;
        break;
      case 3:
        other.Ymin = -1;
        break;
      case 4:
        other.Dx = 9;
        break;
      default:
        other.Dy = 11;
    }
    EXPECT_FALSE(sameNodes(other, display)) << "header value " << field;
  }
}

TEST(BoundaryGrids, EachBoundaryAtItsOwnSizeThenTheDisplaySurface) {
  TempFile lower("2, 2, 0, 0, 10, 10, 1, 2, 3, 4");
  TempFile upper("4, 3, -5, -5, 5, 10, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4");
  LoadJitter jitter;
  const auto display = std::make_shared<const DisplaySurface>(
      makeDisplaySurface(readGridSurface(lower.path()), jitter));
  const auto grids = readBoundaryGrids({"", lower.path(), upper.path()}, 2, display);
  ASSERT_EQ(grids.size(), 4u);
  EXPECT_EQ(grids[1].z(2, 2), 4);  // no jitter on boundaries
  EXPECT_EQ(grids[2].Nx, 4);
  EXPECT_EQ(grids[2].z(4, 3), 4);
  EXPECT_EQ(grids[3].Nx, 2);
  EXPECT_EQ(grids[3].z(2, 2), display->dispZ(2, 2));
}

// The display surface's slot reads the surface's own elevations, which stay alive with it.
TEST(BoundaryGrids, TheDisplaySurfaceSlotSharesTheSurfacesElevations) {
  TempFile boundary("2, 2, 0, 0, 10, 10, 1, 2, 3, 4");
  LoadJitter jitter;
  auto display = std::make_shared<const DisplaySurface>(
      makeDisplaySurface(readGridSurface(boundary.path()), jitter));
  const Array2D<double>* elevations = &display->dispZ;
  const double corner = display->dispZ(2, 2);
  const auto grids = readBoundaryGrids({"", boundary.path()}, 1, display);
  display.reset();
  const GridSurface& slot = grids[2];
  EXPECT_EQ(slot.z.visit([](const auto& z) { return static_cast<const void*>(&z); }), elevations);
  EXPECT_EQ(slot.z(2, 2), corner);
}

TEST(BoundaryGrids, AMissingOrBadFileStopsTheRead) {
  TempFile good("2, 2, 0, 0, 10, 10, 1, 2, 3, 4");
  TempFile bad("2, 2, 0, 0, 10, 10, 1, 2, 3");
  LoadJitter jitter;
  const auto display = std::make_shared<const DisplaySurface>(
      makeDisplaySurface(readGridSurface(good.path()), jitter));
  EXPECT_THROW(readBoundaryGrids({"", good.path()}, 2, display), ReadError);
  EXPECT_THROW(readBoundaryGrids({"", good.path(), ""}, 2, display), ReadError);
  try {
    readBoundaryGrids({"", good.path(), bad.path()}, 2, display);
    FAIL();
  } catch (const ReadError& error) {
    EXPECT_EQ(error.path(), bad.path());
  }
}

// The grid kept from the file's reading is made 5 at every node, while the unchanged file says 1
// to 4: a 5 comes from what was kept.
TEST(BoundaryGrids, AKeptGridIsLentToTheBuildAndBackUnlessTheBuildCompletes) {
  TempFile file("2, 2, 0, 0, 10, 10, 1, 2, 3, 4");
  LoadJitter jitter;
  const auto display = std::make_shared<const DisplaySurface>(
      makeDisplaySurface(readGridSurface(file.path()), jitter));
  const auto kept = [&] {
    EarlierRead read = readBoundaryToKeep(file.path(), {});
    read.grid = makeGrid(2, 2, 0, 0, 10, 10, [](double, double) { return 5.0; });
    return std::vector<EarlierRead>{{}, std::move(read)};
  };
  for (const bool completes : {false, true}) {
    std::vector<EarlierRead> earlier = kept();
    {
      std::vector<GridSurface> grids =
          readBoundaryGrids({"", file.path()}, 1, display, {}, {}, &earlier);
      EXPECT_EQ(grids[1].z(1, 1), 5);
      KeptUntilBuilt build(grids, &earlier);
      if (completes) build.built();
    }
    EXPECT_EQ(earlier[1].path.empty(), completes);
    EXPECT_FALSE(earlier[1].lent);
    if (!completes) {
      EXPECT_EQ(earlier[1].grid.z(2, 2), 5);
      // Lent back, it serves the next build.
      EXPECT_EQ(readBoundaryGrids({"", file.path()}, 1, display, {}, {}, &earlier)[1].z(2, 2), 5);
    }
  }
}

}  // namespace
}  // namespace kalvenor
