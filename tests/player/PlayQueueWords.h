#pragma once
#include <string>
#include <vector>

#include "PlayQueue.h"

// The words of the play queue, in order.
inline std::vector<std::string> playQueueWords()
{
    std::vector<std::string> words;
    char word[MAX_PATH];
    for (LONG i = 0; playQueue.wordAt(i, word); ++i)
        words.push_back(word);
    return words;
}
