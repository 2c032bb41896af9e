// placeholder while the engine is written
