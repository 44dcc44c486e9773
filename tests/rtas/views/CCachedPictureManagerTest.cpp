#include "rtas/views/CCachedPictureManager.h"

#include <gtest/gtest.h>

#include "rtas/views/CCachedPicture.h"

TEST(CachedPictureManager, CountsUsersOfEachLoadedPicture) {
  CCachedPictureManager manager;
  EXPECT_EQ(manager.CountPictures(), 0);
  CCachedPicture* first = manager.GetPicture(128);
  EXPECT_EQ(first->GetID(), -1);  // not loaded yet
  EXPECT_EQ(first->Users(), 1);
  // Before loading, a second ask for the id makes a second entry.
  CCachedPicture* early = manager.GetPicture(128);
  EXPECT_NE(early, first);
  EXPECT_EQ(manager.CountPictures(), 2);
  manager.ReleasePicture(early);
  EXPECT_EQ(manager.CountPictures(), 1);
}

TEST(CachedPicture, ReleasingAtZeroLeavesTheCount) {
  CCachedPicture picture;
  EXPECT_EQ(picture.ReleaseUser(), 0);
  EXPECT_EQ(picture.Users(), 0);
  EXPECT_EQ(picture.AddUser(), 1);
  EXPECT_EQ(picture.AddUser(), 2);
  EXPECT_EQ(picture.ReleaseUser(), 1);
  // With nothing loaded drawing does nothing and the id stays -1.
  picture.Load(999);
  EXPECT_EQ(picture.GetID(), -1);
  EXPECT_EQ(picture.GetPicture(), nullptr);
  picture.Draw(Rect{0, 0, 10, 10});
}

TEST(CachedPictureManager, PicturesNotListedAreIgnored) {
  CCachedPictureManager manager;
  CCachedPicture stranger;
  manager.ReleasePicture(&stranger);
  manager.ReleasePicture(nullptr);
  CCachedPicture* mine = manager.GetPicture(5);
  manager.ReleasePicture(&stranger);
  EXPECT_EQ(manager.CountPictures(), 1);
  manager.ReleasePicture(mine);
  EXPECT_EQ(manager.CountPictures(), 0);
}
