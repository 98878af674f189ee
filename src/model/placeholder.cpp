// replaced by the model sources
