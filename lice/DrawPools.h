#pragma once

#include "lice/DrawRecords.h"

// Released records wait on free lists, under one recursive mutex, so that
// making contexts and fonts often does not reach the allocator; lists keep
// at most kMaxPooledContexts and kMaxPooledObjects records, the rest are
// freed. Records come back zeroed.

constexpr int kMaxPooledContexts = 100;
constexpr int kMaxPooledObjects = 200;

DrawContext* AllocDrawContext();
// The record must already be cleared of what it owned.
void ReleaseDrawContextRecord(DrawContext* ctx);
DrawObject* AllocDrawObject();
void ReleaseDrawObjectRecord(DrawObject* obj);

int PooledDrawContextCount();
int PooledDrawObjectCount();

// Frees every pooled record; runs at exit, and the pools work on after it.
void FreeDrawPools();
