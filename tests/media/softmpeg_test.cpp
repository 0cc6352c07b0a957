#include <gtest/gtest.h>

#include <string>

#include "MediaFiles.h"
#include "OutsideEngines.h"
#include "SoftMpegDevice.h"
#include "TestPaths.h"

namespace {

class SoftMpegTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = makeTempFolder();
        movie = folder + "movie.mpg";
        ASSERT_TRUE(writeMpegStub(movie, 30));
    }
    void TearDown() override { removeTree(folder); }

    std::string folder, movie;
    SoftMpegDevice device;
};

TEST_F(SoftMpegTest, AvailableOnlyWhenSystemIniNamesTheDriverAndItIsInstalled)
{
    {
        SoftMpegInstall install;
        ASSERT_TRUE(install.installed());
        EXPECT_TRUE(device.isAvailable());
    }
    EXPECT_FALSE(device.isAvailable()) << "checked anew at every call";
    {
        SoftMpegInstall install("NECMPG2.DRV");
        ASSERT_TRUE(install.installed());
        EXPECT_TRUE(device.isAvailable()) << "the driver's name is compared ignoring case";
    }
    {
        SoftMpegInstall install("mciqtz32.dll");
        ASSERT_TRUE(install.installed());
        EXPECT_FALSE(device.isAvailable()) << "another driver serves mpeg2video";
    }
    {
        SoftMpegInstall install("necmpg2.drv", false);
        ASSERT_TRUE(install.installed());
        EXPECT_FALSE(device.isAvailable()) << "system.ini names a driver that is not there";
    }
}

TEST_F(SoftMpegTest, WithoutTheDriverOpenFailsAtOnce)
{
    EXPECT_FALSE(device.isAvailable());
    EXPECT_FALSE(device.open(movie.c_str()));
    EXPECT_FALSE(device.probe(movie.c_str()));
    EXPECT_FALSE(device.isPlaying());
}

// Wine's MCI finds a driver that only "system.ini" names: it looks in the
// registry first and then in the [mci] section.
TEST_F(SoftMpegTest, OpensAndPlaysThroughTheInstalledDriver)
{
    SoftMpegInstall install;
    ASSERT_TRUE(install.installed());
    ASSERT_TRUE(device.open(movie.c_str()));
    LONG length = 0;
    EXPECT_TRUE(device.getLength(&length));
    EXPECT_EQ(30, length);
    EXPECT_FALSE(device.hasVideo()) << "the stand-in reports no picture";
    ASSERT_TRUE(device.play(FALSE));
    EXPECT_TRUE(device.isPlaying());
    ASSERT_TRUE(device.play(TRUE));
    EXPECT_FALSE(device.isPlaying());
    ASSERT_TRUE(device.seek(12));
    LONG position = 0;
    ASSERT_TRUE(device.getPosition(&position));
    EXPECT_GE(position, 12);
    EXPECT_TRUE(device.close());
    EXPECT_FALSE(device.isPlaying());
}

TEST_F(SoftMpegTest, ProbeTakesMpegAndLeavesNothingOpen)
{
    SoftMpegInstall install;
    ASSERT_TRUE(install.installed());
    EXPECT_TRUE(device.probe(movie.c_str()));
    EXPECT_FALSE(device.close()) << "the probe closed the device";
    std::string wave = folder + "tone.wav";
    ASSERT_TRUE(writePcmWave(wave, 200));
    EXPECT_FALSE(device.probe(wave.c_str()));
    EXPECT_FALSE(device.open(wave.c_str()));
    EXPECT_FALSE(device.open(nullptr));
}

TEST_F(SoftMpegTest, AnOpenRefusedByTheDriverClosesTheFileBefore)
{
    SoftMpegInstall install;
    ASSERT_TRUE(install.installed());
    std::string wave = folder + "tone.wav";
    ASSERT_TRUE(writePcmWave(wave, 200));
    ASSERT_TRUE(device.open(movie.c_str()));
    ASSERT_TRUE(device.play(FALSE));
    EXPECT_FALSE(device.open(wave.c_str()));
    EXPECT_FALSE(device.isPlaying());
    EXPECT_FALSE(device.close());
}

} // namespace
