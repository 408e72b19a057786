#pragma once

#include <QIcon>

namespace ravell {

// The tracker's 16 x 16 images, shared by menus, tool bars, tree, task list
// and tray icon. Drawn at run time so the program folder needs no image files.
enum BarImage {
  kImageStart = 0,
  kImagePause = 1,
  kImageStop = 2,
  kImageAddPlanned = 3,
  kImageInsert = 4,
  kImageOpenDb = 5,
  kImageShutDown = 6,
  kImageCopy = 7,  // spare pictures: copy, plan time, help
  kImageDelete = 8,
  kImagePlan = 9,
  kImageReporter = 10,
  kImageToDoPanel = 11,
  kImageLogPanel = 12,
  kImageHelp = 13,
  kImageOptions = 14,
  kImageProperties = 15,
  kImageRate = 16,
  kImageProject = 17,
  kImageTask = 18,
  kImageNotesProject = 19,
  kImageTrayRunning = 20,
  kImageTrayPaused = 21,
  kImageTrayIdle = 22,
  kImageTraySaving = 23,
  kImageCount = 24,
};

QIcon BarImages16(int index);

}  // namespace ravell
