#include "rtas/views/CPictureView.h"

#include <memory>

#include "ViewTestSupport.h"
#include "rtas/views/CCachedPictureManager.h"
#include "rtas/library/CDAEError.h"

TEST(PictureView, TheCacheLivesAsLongAsAnyPictureView) {
  EXPECT_EQ(CPictureView::PictureManager(), nullptr);
  auto first = std::make_unique<CPictureView>();
  auto second = std::make_unique<CPictureView>();
  CCachedPictureManager* manager = CPictureView::PictureManager();
  ASSERT_NE(manager, nullptr);
  // The first view going leaves the cache empty, but the second still
  // gets its pictures from it.
  first.reset();
  EXPECT_EQ(CPictureView::PictureManager(), manager);
  second->SetPicture(CPictureView::kNormal, 128);
  EXPECT_EQ(manager->CountPictures(), 1);
  second.reset();
  EXPECT_EQ(CPictureView::PictureManager(), nullptr);
}

TEST(PictureView, StatesAreCheckedAndNoPictureReleases) {
  CPictureView view;
  EXPECT_THROW(view.SetPicture(3, 128), CDAEError);
  EXPECT_THROW(view.SetPicture(-1, 128), CDAEError);
  EXPECT_EQ(view.GetPictureID(CPictureView::kNormal), -1);
  view.SetPicture(CPictureView::kClicked, 128);
  EXPECT_EQ(CPictureView::PictureManager()->CountPictures(), 1);
  view.SetPicture(CPictureView::kClicked, CPictureView::kNoPicture);
  EXPECT_EQ(CPictureView::PictureManager()->CountPictures(), 0);
  EXPECT_EQ(view.GetCurrentPicture(), nullptr);
}
