// The readers whose generators and checks live in files of their own (FuzzDataReaders.cpp, FuzzZip.cpp, FuzzJet.cpp,
// FuzzUiReaders.cpp, FuzzTextReaders.cpp, FuzzBarState.cpp), for the one table of readers in quarzel_fuzz.cpp. Each
// Fuzz function answers an empty text, or the rule that the reader's result broke.
#pragma once

#include "FuzzSupport.h"

std::string GenerateUpdateInfo(CFuzzRandom& rnd);
std::string FuzzUpdateInfo(const std::string& input, CFuzzRandom& rnd);
std::string GenerateImportLine(CFuzzRandom& rnd);
std::string FuzzImportLine(const std::string& input, CFuzzRandom& rnd);
std::string GenerateZip(CFuzzRandom& rnd);
std::string FuzzZip(const std::string& input, CFuzzRandom& rnd);

std::string GenerateLayout(CFuzzRandom& rnd);
std::string FuzzLayout(const std::string& input, CFuzzRandom& rnd);
std::string GenerateResourceFile(CFuzzRandom& rnd);
std::string FuzzResourceFile(const std::string& input, CFuzzRandom& rnd);
std::string GenerateIcons(CFuzzRandom& rnd);
std::string FuzzIcons(const std::string& input, CFuzzRandom& rnd);

std::string GenerateRtf(CFuzzRandom& rnd);
std::string FuzzTextDocument(const std::string& input, CFuzzRandom& rnd);
std::string GenerateTemplate(CFuzzRandom& rnd);
std::string FuzzFilling(const std::string& input, CFuzzRandom& rnd);
std::string GenerateBarState(CFuzzRandom& rnd);
std::string FuzzBarState(const std::string& input, CFuzzRandom& rnd);

std::string GenerateJet(CFuzzRandom& rnd);
std::string FuzzJet(const std::string& input, CFuzzRandom& rnd);
// Of the inputs made so far, how many reach a table definition.
std::string JetSummary();
